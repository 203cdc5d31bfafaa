#include "korvex/app/data/picked_point.h"

#include "korvex/scene/scene_canvas.h"

namespace korvex::app::data {

void report_picked_point(scene::SceneCanvas&, const std::array<double, 3>&) {}

}  // namespace korvex::app::data
