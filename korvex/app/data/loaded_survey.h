#pragma once

#include <array>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/survey_transform.h"

namespace korvex::app::data {

// A survey the application holds, as point files in map coordinates need it: its map
// transform and the ranges of its line numbers.
struct KORVEX_DATA_EXPORT LoadedSurvey {
    seismic::SurveyTransform transform;
    std::array<double, 2> ilines{};
    std::array<double, 2> xlines{};

    // Whether a point given as inline/crossline lies on or near the survey (within one
    // survey width of its edges).
    bool near(double iline, double xline) const;
};

}  // namespace korvex::app::data
