#include "korvex/app/data/survey_frame.h"

#include <algorithm>
#include <cmath>

#include "korvex/utils/errors.h"

namespace korvex::app::data {

using Kind = seismic::SectionKind;

namespace {

// Line numbers may have gaps, so the nearest is searched rather than computed.
int nearest_line(double value, const std::vector<int>& lines) {
    const auto it = std::min_element(lines.begin(), lines.end(), [&](int a, int b) {
        return std::fabs(a - value) < std::fabs(b - value);
    });
    return static_cast<int>(it - lines.begin());
}

}  // namespace

SurveyFrame::SurveyFrame(const seismic::SegyGeometry& geometry) : geometry_(geometry) {}

int SurveyFrame::count(Kind kind) const {
    switch (kind) {
        case Kind::iline:
            return geometry_.iline_count();
        case Kind::xline:
            return geometry_.xline_count();
        case Kind::depth:
            break;
    }
    return geometry_.samples;
}

double SurveyFrame::position_value(Kind kind, int index) const {
    if (index < 0 || index >= count(kind)) throw utils::LookupError("section index out of range");
    switch (kind) {
        case Kind::iline:
            return geometry_.ilines[index];
        case Kind::xline:
            return geometry_.xlines[index];
        case Kind::depth:
            break;
    }
    return geometry_.time_at(index);
}

int SurveyFrame::index_of(Kind kind, double value) const {
    switch (kind) {
        case Kind::iline:
            return nearest_line(value, geometry_.ilines);
        case Kind::xline:
            return nearest_line(value, geometry_.xlines);
        case Kind::depth:
            break;
    }
    const auto sample = std::lround((value - geometry_.delay_ms) / geometry_.sample_interval_ms);
    return static_cast<int>(std::clamp<long>(sample, 0, geometry_.samples - 1));
}

SurveyFrame::Plane SurveyFrame::plane(Kind kind, int index) const {
    const double value = position_value(kind, index);
    const double il0 = geometry_.ilines.front(), il1 = geometry_.ilines.back();
    const double xl0 = geometry_.xlines.front(), xl1 = geometry_.xlines.back();
    const double top = -geometry_.delay_ms, bottom = -geometry_.last_time();
    switch (kind) {
        case Kind::iline:
            return {'x', value, xl0, xl1, top, bottom};
        case Kind::xline:
            return {'y', value, il0, il1, top, bottom};
        case Kind::depth:
            break;
    }
    return {'z', -value, il0, il1, xl0, xl1};
}

SurveyFrame::Sample SurveyFrame::nearest(const std::array<double, 3>& world) const {
    Sample sample;
    sample.iline_index = index_of(Kind::iline, world[0]);
    sample.xline_index = index_of(Kind::xline, world[1]);
    sample.sample_index = index_of(Kind::depth, -world[2]);
    sample.iline = geometry_.ilines[sample.iline_index];
    sample.xline = geometry_.xlines[sample.xline_index];
    sample.time = geometry_.time_at(sample.sample_index);
    return sample;
}

std::array<double, 6> SurveyFrame::bounds() const {
    const auto [il_min, il_max] = std::minmax(geometry_.ilines.front(), geometry_.ilines.back());
    const auto [xl_min, xl_max] = std::minmax(geometry_.xlines.front(), geometry_.xlines.back());
    return {double(il_min), double(il_max),         double(xl_min),
            double(xl_max), -geometry_.last_time(), -geometry_.delay_ms};
}

}  // namespace korvex::app::data
