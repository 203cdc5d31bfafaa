#pragma once

#include <cstdint>
#include <vector>

#include "korvex/seismic/segy_geometry.h"

// Placing a file's traces on the grid their line numbers bound, when they do not simply
// fill it in order: holes, ragged lines, any sorting.
namespace korvex::seismic::trace_grid {

// A trace's line numbers, as its header gives them.
struct Lines {
    int32_t iline = 0;
    int32_t xline = 0;
};

// Two traces of the file (counting from 0) at one position.
struct Duplicate {
    long long first = -1;
    long long second = -1;
    bool found() const { return first >= 0; }
};

// Sets `geometry`'s line numbers (ascending, in the smallest step between any two),
// sorting (the one the first traces follow) and trace index from every trace's lines, in
// file order. Returns the first position found holding two traces, `geometry` then
// incomplete. Throws utils::ValueError with a message (without the file's name) for a
// single line, or for a grid of more than `max_positions_per_trace` positions per trace,
// before it is allocated.
Duplicate place(const std::vector<Lines>& traces, long long max_positions_per_trace,
                SegyGeometry& geometry);

}  // namespace korvex::seismic::trace_grid
