#include "korvex/app/data/volume_section_visual.h"

#include <algorithm>

#include "korvex/app/data/live_outline_visual.h"
#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/scene/key_event.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::app::data {

namespace {

constexpr int SHIFT_STEP = 10;

scene::PlaneExtent extent_of(const SurveyFrame::Plane& plane) {
    return {plane.u0, plane.u1, plane.v0, plane.v1};
}

}  // namespace

VolumeSectionVisual::VolumeSectionVisual(SeismicVolume& volume, seismic::SectionKind kind,
                                         const seismic::Section& image,
                                         const SurveyFrame::Plane& plane, const QString& colormap,
                                         double clip)
    : scene::ImageSection(image.values, image.rows, image.columns, plane.axis, plane.position,
                          extent_of(plane), colormap, {-clip, clip}),
      volume_(&volume),
      kind_(kind) {
    // Logs name the section as the data tree does: a time slice is "time", not "depth".
    name = volume.section_label(seismic::section_type(kind));
    queryable_in_3d = true;
    host_dob = &volume;
    if (kind == seismic::SectionKind::depth)
        outline_ = std::make_shared<LiveOutlineVisual>(volume.file().geometry(), volume.live_area(),
                                                       plane.position);
}

void VolumeSectionVisual::show(const seismic::Section& image, const SurveyFrame::Plane& plane) {
    set_data(image.values, image.rows, image.columns);
    set_position(plane.position);
    // Traces placed anew may widen the grid; setting the extent costs a copy of the image.
    const scene::PlaneExtent wanted = extent_of(plane), now = extent();
    if (wanted.u0 != now.u0 || wanted.u1 != now.u1 || wanted.v0 != now.v0 || wanted.v1 != now.v1)
        set_extent(wanted);
    if (outline_) {
        outline_->set_z(plane.position);
        outline_->set_visible(true);
    }
}

std::optional<widgets::PickedSample> VolumeSectionVisual::query_sample(
    const scene::PickResult& picked) {
    if (!volume_ || !picked.point) {
        utils::logger().warning(utils::format("No point of {} under the mouse", text()));
        return std::nullopt;
    }
    const auto pick = volume_->picker().pick(kind_, *picked.point);
    if (const auto hole = volume_->picker().no_trace(pick.sample)) {
        utils::logger().info(utils::format("{}: {}", volume_->name(), *hole));
        return std::nullopt;
    }
    widgets::PickedSample sample = volume_->picker().picked_sample(pick);
    // Where the trace lies on the map, to the centimetre its headers give: six significant
    // digits would put a northing metres off.
    const QString map =
        sample.map_x && sample.map_y
            ? utils::format(", map X {}, Y {}", map_text(*sample.map_x), map_text(*sample.map_y))
            : QString();
    utils::logger().info(utils::format("{}: amplitude {} at inline {}, crossline {}, time {} ms{}",
                                       volume_->name(), pick.amplitude, sample.iline, sample.xline,
                                       sample.time, map));
    return sample;
}

bool VolumeSectionVisual::on_key_press(const scene::KeyEvent& event) {
    const int direction = event.key == Qt::Key_PageUp ? -1 : event.key == Qt::Key_PageDown ? 1 : 0;
    if (direction == 0 || !volume_) return false;
    const int step = event.modifiers & Qt::ShiftModifier ? SHIFT_STEP : 1;
    utils::call_guarded(QStringLiteral("Moving a section"), [&] {
        const int last = volume_->frame().count(kind_) - 1;
        const int index = std::clamp(volume_->section_index(kind_) + direction * step, 0, last);
        volume_->set_section_index(kind_, index);
    });
    return true;
}

}  // namespace korvex::app::data
