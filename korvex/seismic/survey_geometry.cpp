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

SurveyGeometry::SurveyGeometry(const SegyGeometry& lines, const SurveyGrid& grid)
    : SurveyGeometry(lines, std::nullopt) {
    grid.check();
    const double a = grid.azimuth * M_PI / 180.0, side = grid.clockwise ? 1.0 : -1.0;
    // Map distance per line number, along the direction in which the numbers grow.
    const double u = grid.iline_bin / std::abs(iline_step_),
                 v = grid.xline_bin / std::abs(xline_step_);
    std::array<double, 6> c{0.0, u * std::sin(a), side * v * std::cos(a),
                            0.0, u * std::cos(a), -side * v * std::sin(a)};
    c[0] = grid.origin[0] - c[1] * ilines_[0] - c[2] * xlines_[0];
    c[3] = grid.origin[1] - c[4] * ilines_[0] - c[5] * xlines_[0];
    transform_ = SurveyTransform(c);
    has_coordinates_ = true;
}

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

SurveyGrid SurveyGeometry::grid() const {
    return {corners()[0], iline_bin(), xline_bin(), inline_azimuth(), crosslines_clockwise()};
}

std::array<double, 2> SurveyGeometry::centre() const {
    return to_map((ilines_[0] + ilines_[1]) / 2.0, (xlines_[0] + xlines_[1]) / 2.0);
}

}  // namespace korvex::seismic
