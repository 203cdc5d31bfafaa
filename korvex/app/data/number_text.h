#pragma once

#include <QString>

#include "korvex/app/data/data_export.h"

namespace korvex::app::data {

// Numbers a user reads back and may type elsewhere are never rounded to six significant
// digits: that put a northing of 5 424 429.20 at 5.42443e+06, 0.8 m off.

// A map coordinate or length, to the centimetre.
KORVEX_DATA_EXPORT QString map_text(double value);
// A time, to the precision of the sample interval (one decimal for 0.5 ms, none for 2 ms),
// which hides the binary rounding of delay + n * interval.
KORVEX_DATA_EXPORT QString time_text(double time, double sample_interval);
// A line number or an attribute: every digit the value holds and no more
// (1000 for a line, 0.25 for an amplitude).
KORVEX_DATA_EXPORT QString exact_text(double value);

// An amplitude, held as a float: its seven significant digits (1000000, not 1e+06).
KORVEX_DATA_EXPORT QString amplitude_text(float value);

// One map coordinate of a survey as a formula of the line numbers, "x0 + a IL - b XL".
// A term below 1e-9 of its bin (`iline_bin`, `xline_bin`: the map distance of one line
// step) is the fit's rounding, not a tilt, and is left out.
KORVEX_DATA_EXPORT QString affine_text(double constant, double per_iline, double per_xline,
                                       double iline_bin, double xline_bin);

}  // namespace korvex::app::data
