#include "korvex/app/data/loaded_survey.h"

#include <algorithm>

namespace korvex::app::data {

namespace {

bool within(double value, const std::array<double, 2>& range) {
    const double low = std::min(range[0], range[1]);
    const double high = std::max(range[0], range[1]);
    const double margin = std::max(high - low, 1.0);
    return value >= low - margin && value <= high + margin;
}

}  // namespace

bool LoadedSurvey::near(double iline, double xline) const {
    return within(iline, ilines) && within(xline, xlines);
}

}  // namespace korvex::app::data
