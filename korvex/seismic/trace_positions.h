#pragma once

#include <vector>

#include "korvex/seismic/survey_transform.h"

namespace korvex::seismic {

class SegyVolumeFile;

// CDP X and Y as a trace header stores them (bytes 181 and 185), with the coordinate
// scalar of byte 71: a positive scalar multiplies, a negative one divides, zero is one.
struct CdpCoordinates {
    int x = 0;
    int y = 0;
    int scalar = 0;

    double scaled(int value) const {
        if (scalar > 0) return double(value) * scalar;
        if (scalar < 0) return double(value) / -scalar;
        return double(value);
    }
};

// Every trace's line numbers and scaled CDP coordinates, in file order. Throws
// utils::ValueError when a header cannot be read.
std::vector<TracePosition> read_trace_positions(const SegyVolumeFile& file);

}  // namespace korvex::seismic
