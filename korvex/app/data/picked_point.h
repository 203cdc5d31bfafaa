#pragma once

#include <array>

namespace korvex::scene {
class SceneCanvas;
}

namespace korvex::widgets {
struct PickedSample;
}

namespace korvex::app::data {

// Hands a picked sample of a volume to the viewer that owns `canvas`, through its
// sig_picked_sample.
void report_picked_sample(scene::SceneCanvas& canvas, const widgets::PickedSample& pick);

}  // namespace korvex::app::data
