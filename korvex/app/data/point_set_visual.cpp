#include "korvex/app/data/point_set_visual.h"

#include <QStringList>

#include "korvex/app/data/point_set.h"
#include "korvex/scene/mouse_event.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

PointSetVisual::PointSetVisual(PointSet& points, std::vector<scene::Point3> positions, double size)
    : scene::PointVisual(std::move(positions), scene::Color(0.0, 0.0, 0.0), size),
      points_(&points) {
    name = points.name();
    queryable_in_3d = true;
    host_dob = &points;
}

QVariant PointSetVisual::query_in_3d(scene::SceneCanvas& canvas, const scene::MouseEvent& event) {
    const auto world = canvas.pick_point(event.pos);
    if (!points_ || !world) {
        utils::logger().warning(utils::format("No point of {} under the mouse", text()));
        return {};
    }
    const int index = points_->nearest_point(*world);
    const PointTable& table = points_->table();
    QStringList values;
    for (int column = 0; column < table.names().size(); ++column)
        values
            << QStringLiteral("%1=%2").arg(table.names()[column]).arg(table.column(column)[index]);
    utils::logger().info(
        utils::format("{}: point {}: {}", points_->name(), index + 1, values.join(", ")));
    return {};  // the log line is the whole report
}

}  // namespace korvex::app::data
