#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Where a file keeps its traces' map X and Y: the CDP coordinates, or, in files that
// leave those zero, the source's or the receiver group's.
struct KORVEX_SEISMIC_EXPORT CoordinateBytes {
    int x = 181;
    int y = 185;

    static const std::array<CoordinateBytes, 3>& candidates();
    // The first candidate whose values vary from header to header; `field(n, byte)` reads
    // the 4-byte field at `byte` of header `n` of `count`. The CDP pair when none does.
    static CoordinateBytes find(const std::function<int32_t(std::size_t, int)>& field,
                                std::size_t count);

    // "CDP X/Y (bytes 181 and 185)"
    QString describe() const;
    bool operator==(const CoordinateBytes& other) const { return x == other.x && y == other.y; }
};

}  // namespace korvex::seismic
