#pragma once

#include <QPointer>

#include "korvex/scene/point_visual.h"
#include "korvex/widgets/cube_viewer/sample_query.h"

namespace korvex::app::data {

class PointSet;

// The markers of a point set in one viewer. A right-button pick reports the nearest
// point: its properties in the log, and, when it lies in an open survey, its inline,
// crossline, time and amplitude there, as a pick that goes to the Picks dock.
class PointSetVisual final : public scene::PointVisual, public widgets::SampleQuery {
public:
    PointSetVisual(PointSet& points, std::vector<scene::Point3> positions, double size);

    std::optional<widgets::PickedSample> query_sample(const scene::PickResult& pick) override;

private:
    QPointer<PointSet> points_;
};

}  // namespace korvex::app::data
