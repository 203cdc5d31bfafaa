#include "korvex/seismic/survey_geometry.h"

#include <cmath>

namespace korvex::seismic {

namespace {

int step_of(int increment) { return increment != 0 ? increment : 1; }

// A survey without coordinates keeps the place it always had: map X and Y are its inline
// and crossline numbers, so cameras and points saved in line numbers still find it.
const SurveyTransform LINE_NUMBERS({0.0, 1.0, 0.0, 0.0, 0.0, 1.0});

}  // namespace

SurveyGeometry::SurveyGeometry(const SegyGeometry& grid,
                               const std::optional<SurveyTransform>& fitted)
    : transform_(fitted ? *fitted : LINE_NUMBERS),
      has_coordinates_(fitted.has_value()),
      ilines_{double(grid.ilines.front()), double(grid.ilines.back())},
      xlines_{double(grid.xlines.front()), double(grid.xlines.back())},
      iline_step_(step_of(grid.iline_increment())),
      xline_step_(step_of(grid.xline_increment())) {}

std::array<double, 2> SurveyGeometry::to_map(double iline, double xline) const {
    return transform_.to_map(iline, xline);
}

std::array<double, 2> SurveyGeometry::to_lines(double x, double y) const {
    return transform_.to_lines(x, y);
}

double SurveyGeometry::iline_bin() const {
    return transform_.iline_spacing() * std::abs(iline_step_);
}

double SurveyGeometry::xline_bin() const {
    return transform_.xline_spacing() * std::abs(xline_step_);
}

double SurveyGeometry::inline_azimuth() const {
    const auto& c = transform_.coefficients();
    return std::atan2(c[1], c[4]) * 180.0 / M_PI;
}

bool SurveyGeometry::crosslines_clockwise() const {
    const auto& c = transform_.coefficients();
    return c[1] * c[5] - c[2] * c[4] < 0.0;
}

std::array<std::array<double, 2>, 4> SurveyGeometry::corners() const {
    return {to_map(ilines_[0], xlines_[0]), to_map(ilines_[1], xlines_[0]),
            to_map(ilines_[1], xlines_[1]), to_map(ilines_[0], xlines_[1])};
}

std::array<double, 2> SurveyGeometry::centre() const {
    return to_map((ilines_[0] + ilines_[1]) / 2.0, (xlines_[0] + xlines_[1]) / 2.0);
}

}  // namespace korvex::seismic
