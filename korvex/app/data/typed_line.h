#pragma once

#include <QString>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section_kind.h"

namespace korvex::app::data {

class SeismicVolume;

// A line number or time the user typed, taken to the nearest one the volume holds: a
// typed value rarely falls on a line of a survey with a line step, or on a sample.
struct KORVEX_DATA_EXPORT TypedLine {
    int index = 0;
    // Why another line is shown than the one typed (also in the log); empty when none is.
    QString note;

    static TypedLine nearest(const SeismicVolume& volume, seismic::SectionKind kind, double typed);
};

}  // namespace korvex::app::data
