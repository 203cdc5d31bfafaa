#include "korvex/app/data/loaded_survey.h"

#include <algorithm>
#include <cmath>

namespace korvex::app::data {

namespace {

bool within(double value, const std::array<double, 2>& range, double margin) {
    const double low = std::min(range[0], range[1]);
    const double high = std::max(range[0], range[1]);
    return value >= low - margin && value <= high + margin;
}

double width(const std::array<double, 2>& range) {
    return std::max(std::abs(range[1] - range[0]), 1.0);
}

}  // namespace

bool LoadedSurvey::near(double iline, double xline) const {
    return within(iline, ilines, width(ilines)) && within(xline, xlines, width(xlines));
}

bool LoadedSurvey::holds(double iline, double xline) const {
    // A top on an edge trace, given in map X/Y to the centimetre, comes back from the
    // inverse transform a little off its line.
    constexpr double EDGE = 0.5;
    return within(iline, ilines, EDGE) && within(xline, xlines, EDGE);
}

}  // namespace korvex::app::data
