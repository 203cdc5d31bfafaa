#include "korvex/app/viewers/viewer_cursor_marks.h"

#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/config/base.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

namespace korvex::app {

using config::_;

namespace {

// Apart from the yellow of the picks, and smaller: it moves with the mouse.
const scene::Color MARKER_COLOR(1.0, 0.0, 1.0);
constexpr double MARKER_SIZE = 10.0;

}  // namespace

ViewerCursorMarks::ViewerCursorMarks(LinkedCursor& cursor, const ViewerArea& viewers,
                                     const data::OpenSurveys& surveys, QObject* parent)
    : QObject(parent), viewers_(viewers), surveys_(surveys) {
    connect(&cursor, &LinkedCursor::sig_moved, this,
            [this](const std::optional<CursorPlace>& place) {
                utils::call_guarded(_("Marking the mouse in the 3D viewers"), [&] { mark(place); });
            });
}

ViewerCursorMarks::~ViewerCursorMarks() = default;

const scene::PointVisual* ViewerCursorMarks::marker(const widgets::CanvasWidget& viewer) const {
    const auto found = markers_.find(&viewer);
    return found == markers_.end() ? nullptr : found->second.get();
}

void ViewerCursorMarks::mark(const std::optional<CursorPlace>& place) {
    const auto point = place ? scene_point(*place) : std::nullopt;
    std::map<const widgets::CanvasWidget*, std::unique_ptr<scene::PointVisual>> kept;
    for (int index = 0; index < viewers_.count(); ++index) {
        widgets::CanvasWidget& viewer = viewers_.viewer(index)->base();
        if (!point || place->source == &viewer) continue;
        auto found = markers_.find(&viewer);
        std::unique_ptr<scene::PointVisual> marker;
        if (found != markers_.end()) {
            marker = std::move(found->second);
            marker->set_data({*point});
        } else {
            marker = std::make_unique<scene::PointVisual>(std::vector{*point}, MARKER_COLOR,
                                                          MARKER_SIZE);
            marker->name = _("cursor");
            // The mouse's own picking must see through it.
            marker->set_pickable(false);
        }
        // A viewer opened where a closed one was takes over its marker, left unattached.
        viewer.view().add(*marker);
        kept[&viewer] = std::move(marker);
    }
    markers_ = std::move(kept);
}

std::optional<scene::Point3> ViewerCursorMarks::scene_point(const CursorPlace& place) const {
    const double z = -place.time.value_or(0.0);
    for (const data::SeismicVolume* volume : surveys_.volumes()) {
        if (volume->name() == place.survey && place.iline && place.xline)
            return volume->placement().to_scene({*place.iline, *place.xline, z});
    }
    if (!place.map) return std::nullopt;
    const auto origin = surveys_.origin().value_or(std::array<double, 2>{0.0, 0.0});
    return scene::Point3{(*place.map)[0] - origin[0], (*place.map)[1] - origin[1], z};
}

}  // namespace korvex::app
