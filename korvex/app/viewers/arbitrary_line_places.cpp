#include "korvex/app/viewers/arbitrary_line_places.h"

#include <cmath>
#include <limits>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/widgets/section_view/section_canvas.h"

namespace korvex::app {

using seismic::SectionKind;

namespace {

// A line number as a grid index, between the lines where it falls between them.
double grid_index(const data::SurveyFrame& frame, SectionKind kind, double value) {
    const double first = frame.position_value(kind, 0);
    const double step = frame.count(kind) > 1 ? frame.position_value(kind, 1) - first : 1.0;
    return (value - first) / step;
}

}  // namespace

const data::SeismicVolume* ArbitraryLinePlaces::volume() const { return feed_.volume(); }

std::optional<data::SurveyFrame::Sample> ArbitraryLinePlaces::sample_at(int column, int row) const {
    const data::SeismicVolume* volume = feed_.volume();
    const auto& positions = feed_.traces().positions();
    if (!volume || !feed_.drawn() || column < 0 || column >= int(positions.size()) ||
        !positions[column].inside())
        return std::nullopt;
    const data::SurveyFrame& frame = volume->frame();
    data::SurveyFrame::Sample s{positions[column].iline_index, positions[column].xline_index, row};
    s.iline = int(frame.position_value(SectionKind::iline, s.iline_index));
    s.xline = int(frame.position_value(SectionKind::xline, s.xline_index));
    s.time = frame.position_value(SectionKind::depth, s.sample_index);
    return s;
}

std::optional<widgets::SectionMarks::Cursor> ArbitraryLinePlaces::mark_of(
    double iline, double xline, std::optional<double> time) const {
    const data::SeismicVolume* volume = feed_.volume();
    if (!volume || !feed_.drawn()) return std::nullopt;
    const double i = grid_index(volume->frame(), SectionKind::iline, iline);
    const double x = grid_index(volume->frame(), SectionKind::xline, xline);
    const auto& positions = feed_.traces().positions();
    int nearest = -1;
    double least = std::numeric_limits<double>::infinity();
    for (int column = 0; column < int(positions.size()); ++column) {
        if (!positions[column].inside()) continue;
        const double d =
            std::hypot(positions[column].iline_index - i, positions[column].xline_index - x);
        if (d < least) least = d, nearest = column;
    }
    if (nearest < 0 || !(least <= NEAR_STEPS)) return std::nullopt;
    return widgets::SectionMarks::Cursor{
        nearest + 0.5, time ? std::optional(canvas_.vertical().data_at(*time)) : std::nullopt};
}

}  // namespace korvex::app
