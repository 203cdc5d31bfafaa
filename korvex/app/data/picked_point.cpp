#include "korvex/app/data/picked_point.h"

#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app::data {

void report_picked_sample(scene::SceneCanvas& canvas, const widgets::PickedSample& pick) {
    // Only a cube viewer's canvas has a widget to report to.
    if (auto* viewer_canvas = dynamic_cast<widgets::Canvas*>(&canvas))
        emit viewer_canvas->owner().sig_picked_sample(pick);
}

}  // namespace korvex::app::data
