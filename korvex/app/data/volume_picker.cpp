#include "korvex/app/data/volume_picker.h"

#include <algorithm>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

using seismic::SectionKind;

VolumePicker::Pick VolumePicker::pick(SectionKind kind, const std::array<double, 3>& world) const {
    const auto drawn = volume_.sections().drawn(kind);
    if (!drawn) throw utils::LookupError("no section of that type is drawn");
    const SurveyFrame& frame = volume_.frame();
    // The point lies on the section's plane; only its in-plane coordinates count.
    auto on_plane = volume_.placement().to_own(world);
    const auto plane = frame.plane(kind, drawn->index);
    on_plane[plane.axis - 'x'] = plane.position;
    Pick result{frame.nearest(on_plane), 0.0f};
    const auto& s = result.sample;
    switch (kind) {
        case SectionKind::iline:
            result.amplitude = drawn->image.at(s.sample_index, s.xline_index);
            break;
        case SectionKind::xline:
            result.amplitude = drawn->image.at(s.sample_index, s.iline_index);
            break;
        case SectionKind::depth:
            result.amplitude = drawn->image.at(s.xline_index, s.iline_index);
            break;
    }
    return result;
}

std::optional<VolumePicker::Pick> VolumePicker::sample_at(double iline, double xline,
                                                          double time) const {
    const SurveyFrame& frame = volume_.frame();
    const auto b = frame.bounds();
    const auto outside = [](double value, double low, double high) {
        return !(value >= std::min(low, high) && value <= std::max(low, high));
    };
    if (outside(iline, b[0], b[1]) || outside(xline, b[2], b[3]) || outside(-time, b[4], b[5]))
        return std::nullopt;
    Pick result{frame.nearest({iline, xline, -time}), 0.0f};
    const auto& s = result.sample;
    result.amplitude = volume_.file().read_trace(s.iline_index, s.xline_index).at(s.sample_index);
    return result;
}

std::optional<QString> VolumePicker::no_trace(const SurveyFrame::Sample& sample) const {
    if (volume_.file().geometry().has_trace(sample.iline_index, sample.xline_index))
        return std::nullopt;
    return config::_("no trace at inline %1, crossline %2").arg(sample.iline).arg(sample.xline);
}

widgets::PickedSample VolumePicker::picked_sample(const Pick& pick) const {
    const auto& s = pick.sample;
    widgets::PickedSample sample;
    sample.volume = volume_.name();
    sample.iline = s.iline;
    sample.xline = s.xline;
    sample.time = s.time;
    sample.amplitude = pick.amplitude;
    const seismic::SurveyGeometry& geometry = volume_.geometry();
    if (geometry.has_coordinates()) {
        const auto map = geometry.to_map(s.iline, s.xline);
        sample.map_x = map[0];
        sample.map_y = map[1];
    }
    // The marker sits on the sample itself.
    sample.position = volume_.placement().to_scene({double(s.iline), double(s.xline), -s.time});
    return sample;
}

}  // namespace korvex::app::data
