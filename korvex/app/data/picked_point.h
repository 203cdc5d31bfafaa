#pragma once

#include <array>

namespace korvex::scene {
class SceneCanvas;
}

namespace korvex::app::data {

// Hands a picked coordinate to the viewer that owns `canvas`, through its sigPickedPoint.
void report_picked_point(scene::SceneCanvas& canvas, const std::array<double, 3>& point);

}  // namespace korvex::app::data
