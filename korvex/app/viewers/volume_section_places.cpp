#include "korvex/app/viewers/volume_section_places.h"

#include <cmath>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/widgets/section_view/section_canvas.h"

namespace korvex::app {

using seismic::SectionKind;

namespace {

double section_step(const data::SurveyFrame& frame, SectionKind kind) {
    return frame.count(kind) > 1
               ? std::abs(frame.position_value(kind, 1) - frame.position_value(kind, 0))
               : 1.0;
}

}  // namespace

const data::SeismicVolume* VolumeSectionPlaces::volume() const { return feed_.volume(); }

std::optional<data::SurveyFrame::Sample> VolumeSectionPlaces::sample_at(int column, int row) const {
    const data::SeismicVolume* volume = feed_.volume();
    if (!volume || !feed_.drawn()) return std::nullopt;
    data::SurveyFrame::Sample s;
    switch (feed_.kind()) {
        case SectionKind::iline:
            s = {feed_.index(), column, row};
            break;
        case SectionKind::xline:
            s = {column, feed_.index(), row};
            break;
        case SectionKind::depth:
            s = {column, row, feed_.index()};
            break;
    }
    const data::SurveyFrame& frame = volume->frame();
    s.iline = int(frame.position_value(SectionKind::iline, s.iline_index));
    s.xline = int(frame.position_value(SectionKind::xline, s.xline_index));
    s.time = frame.position_value(SectionKind::depth, s.sample_index);
    return s;
}

std::optional<widgets::SectionMarks::Cursor> VolumeSectionPlaces::mark_of(
    double iline, double xline, std::optional<double> time) const {
    const data::SeismicVolume* volume = feed_.volume();
    if (!volume || !feed_.drawn()) return std::nullopt;
    const SectionKind kind = feed_.kind();
    const double across = kind == SectionKind::iline   ? iline
                          : kind == SectionKind::xline ? xline
                                                       : time.value_or(feed_.position());
    if (!(std::abs(across - feed_.position()) <= NEAR_STEPS * section_step(volume->frame(), kind)))
        return std::nullopt;
    const auto row = [&](double value) { return canvas_.vertical().data_at(value); };
    switch (kind) {
        case SectionKind::iline:
            return widgets::SectionMarks::Cursor{canvas_.horizontal().data_at(xline),
                                                 time ? std::optional(row(*time)) : std::nullopt};
        case SectionKind::xline:
            return widgets::SectionMarks::Cursor{canvas_.horizontal().data_at(iline),
                                                 time ? std::optional(row(*time)) : std::nullopt};
        case SectionKind::depth:
            break;
    }
    return widgets::SectionMarks::Cursor{canvas_.horizontal().data_at(iline), row(xline)};
}

}  // namespace korvex::app
