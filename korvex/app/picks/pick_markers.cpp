#include "korvex/app/picks/pick_markers.h"

#include <stdexcept>

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

PickMarkers::Set& PickMarkers::set_in(widgets::CanvasWidget& viewer,
                                      std::vector<scene::Point3> positions) {
    Set& set = sets_[viewer.name()];
    if (set.visual) {
        for (const scene::Point3& position : positions) set.visual->add_point(position);
    } else {
        set.visual =
            std::make_unique<scene::PointVisual>(std::move(positions), MARKER_COLOR, MARKER_SIZE);
        set.visual->name = config::_("picks");
        // Picks on the sections behind a marker must still reach the sections.
        set.visual->set_pickable(false);
    }
    viewer.view().add(*set.visual);
    return set;
}

void PickMarkers::insert(int row, widgets::CanvasWidget& viewer, const scene::Point3& position) {
    if (row < 0 || row > int(rows_.size())) throw std::out_of_range("no room for a marker there");
    Set& set = set_in(viewer, {position});
    auto marker = std::make_unique<Marker>(Marker{viewer.name(), set.markers.size()});
    set.markers.push_back(marker.get());
    rows_.insert(rows_.begin() + row, std::move(marker));
}

void PickMarkers::remove(int row) {
    const Marker& marker = *rows_.at(std::size_t(row));
    const auto found = sets_.find(marker.viewer);
    Set& set = found->second;
    if (set.markers.size() == 1) {
        sets_.erase(found);
    } else {
        set.visual->remove_point(marker.point);
        set.markers[marker.point] = set.markers.back();
        set.markers[marker.point]->point = marker.point;
        set.markers.pop_back();
    }
    rows_.erase(rows_.begin() + row);
}

void PickMarkers::replace(
    const std::vector<std::pair<widgets::CanvasWidget*, scene::Point3>>& rows) {
    clear();
    std::map<widgets::CanvasWidget*, std::vector<scene::Point3>> positions;
    for (const auto& [viewer, position] : rows) {
        std::vector<scene::Point3>& points = positions[viewer];
        rows_.push_back(std::make_unique<Marker>(Marker{viewer->name(), points.size()}));
        points.push_back(position);
        sets_[viewer->name()].markers.push_back(rows_.back().get());
    }
    for (auto& [viewer, points] : positions) set_in(*viewer, std::move(points));
}

void PickMarkers::move_to_viewer(const QString& from, widgets::CanvasWidget& to) {
    const auto found = sets_.find(from);
    if (found == sets_.end() || from == to.name()) return;
    Set moved = std::move(found->second);
    sets_.erase(found);
    Set& set = set_in(to, moved.visual->positions());
    for (Marker* marker : moved.markers) {
        marker->viewer = to.name();
        marker->point = set.markers.size();
        set.markers.push_back(marker);
    }
}

void PickMarkers::clear() {
    sets_.clear();
    rows_.clear();
}

const scene::PointVisual* PickMarkers::in(const QString& viewer) const {
    const auto found = sets_.find(viewer);
    return found == sets_.end() ? nullptr : found->second.visual.get();
}

}  // namespace korvex::app
