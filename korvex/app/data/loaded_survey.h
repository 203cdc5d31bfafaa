#pragma once

#include <QString>
#include <array>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/survey_transform.h"

namespace korvex::app::data {

// A survey the application holds, as point files need it: its map transform, the ranges of
// its line numbers, and the name of its volume, by which a point set remembers it.
struct KORVEX_DATA_EXPORT LoadedSurvey {
    seismic::SurveyTransform transform;
    std::array<double, 2> ilines{};
    std::array<double, 2> xlines{};
    QString name;

    // Whether a point given as inline/crossline lies on or near the survey (within one
    // survey width of its edges).
    bool near(double iline, double xline) const;
    // Whether a point given as inline/crossline lies within the survey's outline, or less
    // than half a line number beyond it.
    bool holds(double iline, double xline) const;
};

}  // namespace korvex::app::data
