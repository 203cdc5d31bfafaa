#include "korvex/app/data/point_set_visual.h"

#include <QStringList>

#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

PointSetVisual::PointSetVisual(PointSet& points, std::vector<scene::Point3> positions, double size)
    : scene::PointVisual(std::move(positions), scene::Color(0.0, 0.0, 0.0), size),
      points_(&points) {
    name = points.name();
    queryable_in_3d = true;
    host_dob = &points;
}

std::optional<widgets::PickedSample> PointSetVisual::query_sample(const scene::PickResult& pick) {
    if (!points_ || !pick.point) {
        utils::logger().warning(utils::format("No point of {} under the mouse", text()));
        return std::nullopt;
    }
    const int index = points_->nearest_point(*pick.point);
    const PointTable& table = points_->table();
    QStringList values;
    for (int column = 0; column < table.names().size(); ++column)
        values << QStringLiteral("%1=%2").arg(table.names()[column],
                                              points_->value_text(column, index));
    utils::logger().info(
        utils::format("{}: point {}: {}", points_->name(), index + 1, values.join(", ")));

    // Where the point lies in the first survey that holds it, as a pick on a section would.
    const auto label = table.label_column();
    const QString point =
        label ? table.texts(*label)[index] : QStringLiteral("point %1").arg(index + 1);
    const auto at = points_->position(index);
    if (!points_->open_surveys()) return std::nullopt;
    for (const SeismicVolume* volume : points_->open_surveys()->volumes()) {
        const auto own = volume->placement().to_own(at);
        const auto pick = volume->picker().sample_at(own[0], own[1], -own[2]);
        if (!pick) continue;
        if (const auto hole = volume->picker().no_trace(pick->sample)) {
            utils::logger().info(utils::format("{}: {} lies in {}, where there is {}",
                                               points_->name(), point, volume->name(), *hole));
            continue;
        }
        const auto& s = pick->sample;
        utils::logger().info(utils::format(
            "{}: {} lies in {} at inline {}, crossline {}, time {} ms: amplitude {}",
            points_->name(), point, volume->name(), s.iline, s.xline, s.time, pick->amplitude));
        return volume->picker().picked_sample(*pick);
    }
    return std::nullopt;
}

}  // namespace korvex::app::data
