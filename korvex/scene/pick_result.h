#pragma once

// What a scene canvas answers for a pixel: the visual drawn there, the scene point hit on
// it, and what the visual holds at that point once it has been queried.
//   PickResult pick = canvas.pick(pos);
//   if (pick.visual) pick.data = pick.visual->query_in_3d(canvas, event);
// Both come from one line of sight through the pixel, answered by the visuals' geometry.

#include <QVariant>
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
    // The visual's own answer, in a type of its own; null until queried, or when it found
    // nothing to report.
    QVariant data;
};

}  // namespace korvex::scene
