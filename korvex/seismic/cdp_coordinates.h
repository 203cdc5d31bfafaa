#pragma once

namespace korvex::seismic {

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

}  // namespace korvex::seismic
