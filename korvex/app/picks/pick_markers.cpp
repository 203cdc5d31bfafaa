#include "korvex/app/picks/pick_markers.h"

#include "korvex/config/base.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app {

namespace {

const scene::Color MARKER_COLOR(1.0, 0.85, 0.0);
constexpr double MARKER_SIZE = 11.0;

}  // namespace

PickMarkers::PickMarkers() = default;

PickMarkers::~PickMarkers() = default;

void PickMarkers::show(widgets::CanvasWidget& viewer, std::vector<scene::Point3> positions) {
    if (positions.empty()) {
        remove(viewer.name());
        return;
    }
    std::unique_ptr<scene::PointVisual>& set = sets_[viewer.name()];
    if (set) {
        set->set_data(std::move(positions));
    } else {
        set = std::make_unique<scene::PointVisual>(std::move(positions), MARKER_COLOR, MARKER_SIZE);
        set->name = config::_("picks");
        // Picks on the sections behind a marker must still reach the sections.
        set->set_pickable(false);
    }
    viewer.view().add(*set);
}

void PickMarkers::reduce(const QString& viewer, std::vector<scene::Point3> positions) {
    const auto found = sets_.find(viewer);
    if (found == sets_.end()) return;
    if (positions.empty())
        sets_.erase(found);
    else
        found->second->set_data(std::move(positions));
}

void PickMarkers::remove(const QString& viewer) { sets_.erase(viewer); }

void PickMarkers::clear() { sets_.clear(); }

const scene::PointVisual* PickMarkers::in(const QString& viewer) const {
    const auto found = sets_.find(viewer);
    return found == sets_.end() ? nullptr : found->second.get();
}

}  // namespace korvex::app
