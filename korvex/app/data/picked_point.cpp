#include "korvex/app/data/picked_point.h"

#include <QVector>

#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app::data {

void report_picked_point(scene::SceneCanvas& canvas, const std::array<double, 3>& point) {
    // Only a cube viewer's canvas has a widget to report to.
    if (auto* viewer_canvas = dynamic_cast<widgets::Canvas*>(&canvas))
        emit viewer_canvas->owner().sigPickedPoint(QVector<double>{point[0], point[1], point[2]});
}

}  // namespace korvex::app::data
