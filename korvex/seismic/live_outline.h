#pragma once

#include <functional>
#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A straight piece of the boundary between a survey's positions with a trace and those
// without one (or outside the grid), in grid indices. The position (i, x) owns the cell
// from i - 0.5 to i + 0.5 and from x - 0.5 to x + 0.5, so the boundary runs on half indices.
struct OutlineSegment {
    double iline0 = 0.0, xline0 = 0.0, iline1 = 0.0, xline1 = 0.0;

    bool operator==(const OutlineSegment& other) const {
        return iline0 == other.iline0 && xline0 == other.xline0 && iline1 == other.iline1 &&
               xline1 == other.xline1;
    }
};

// The live area's boundary along the cells' edges, one segment per straight run: exact
// where a smoothed contour would cut through the traces at the edge of the survey.
KORVEX_SEISMIC_EXPORT std::vector<OutlineSegment> live_outline(
    int iline_count, int xline_count, const std::function<bool(int, int)>& has_trace);

}  // namespace korvex::seismic
