#pragma once

#include <QString>
#include <array>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A survey's grid on the map as a user sets it where the trace headers give none to fit:
// where the file's first inline and first crossline meet, the bins (map distance between
// neighbouring lines of the file), the compass direction in which inline numbers grow
// (degrees clockwise from north), and whether crossline numbers grow clockwise of it.
struct KORVEX_SEISMIC_EXPORT SurveyGrid {
    std::array<double, 2> origin{};
    double iline_bin = 1.0;
    double xline_bin = 1.0;
    double azimuth = 90.0;
    bool clockwise = false;

    bool operator==(const SurveyGrid& other) const {
        return origin == other.origin && iline_bin == other.iline_bin &&
               xline_bin == other.xline_bin && azimuth == other.azimuth &&
               clockwise == other.clockwise;
    }
    bool operator!=(const SurveyGrid& other) const { return !(*this == other); }
    // Throws utils::ValueError naming what cannot make a grid: a bin not positive, a
    // number that is not finite.
    void check() const;
    // "first inline and crossline at 612345.50, 6543210.25; bins 25 x 12.5; inlines toward
    // 35 degrees, crosslines clockwise of them", for the log and the journal.
    QString text() const;
};

}  // namespace korvex::seismic
