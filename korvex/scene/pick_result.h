#pragma once

// What a scene canvas answers for a pixel: the visual drawn there and the scene point hit
// on it, both from one line of sight through the pixel, answered by the visuals' geometry.
//   PickResult pick = canvas.pick(pos);
#include <array>
#include <optional>

namespace korvex::scene {

class Visual;

struct PickResult {
    // nullptr over the background.
    Visual* visual = nullptr;
    // Scene coordinates, z before the view's vertical scale, of what the visual draws at
    // the pixel (a point set's point itself); absent over the background.
    std::optional<std::array<double, 3>> point;
};

}  // namespace korvex::scene
