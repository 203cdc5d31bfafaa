#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
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

// The bounds of one direction's line numbers and the smallest step between any two, taken
// trace by trace in file order as the headers are read, while each is at hand.
class LineAxis {
public:
    void add(int32_t line) {
        // Along a line the number repeats: the commonest case costs one comparison.
        if (line == previous_ && runs_ > 0) return;
        if (runs_++ == 0) {
            first_ = last_ = previous_ = line;
            return;
        }
        first_ = std::min(first_, line);
        last_ = std::max(last_, line);
        // The step divides every difference between two lines, so the differences between
        // neighbours in the file give it; most of them repeat the last one.
        const long long difference = std::abs(static_cast<long long>(line) - previous_);
        if (difference != last_difference_) {
            step_ = std::gcd(step_, difference);
            last_difference_ = difference;
        }
        previous_ = line;
    }

    int32_t first() const { return first_; }
    bool spans(int32_t line) const { return runs_ > 0 && first_ <= line && line <= last_; }
    int32_t last() const { return last_; }
    // 0 for a single line.
    long long step() const { return step_; }
    long long lines() const {
        return step_ == 0 ? 1 : (static_cast<long long>(last_) - first_) / step_ + 1;
    }
    // How often the number differed from the trace before's.
    long long changes() const { return runs_ > 0 ? runs_ - 1 : 0; }
    // The index of a line number of the axis.
    long long index_of(int32_t line) const {
        const long long offset = static_cast<long long>(line) - first_;
        // A division per trace costs as much as the rest of its placing.
        return step_ == 1 ? offset : offset / step_;
    }

private:
    int32_t first_ = 0;
    int32_t last_ = 0;
    int32_t previous_ = 0;
    // Runs of traces with one number, in file order.
    long long runs_ = 0;
    long long step_ = 0;
    long long last_difference_ = 0;
};

// Two traces of the file (counting from 0) at one position.
struct Duplicate {
    long long first = -1;
    long long second = -1;
    bool found() const { return first >= 0; }
};

// Traces whose inline and crossline are both zero carry no line numbers (padding) when the
// inline axis does not reach zero: the caller leaves them out of the axes, and they are not
// placed. Sets `geometry`'s line numbers (ascending, in the smallest step between any two),
// sorting (the direction whose number changes less often from trace to trace), whether the
// file keeps each line's traces together, and trace index from every trace's lines, in
// file order, and the axes their inline and crossline numbers make. Returns the first position
// found holding two traces, `geometry` then incomplete. Throws utils::ValueError with a message
// (without the file's name) for a single line, or for a grid of more than `max_positions_per_trace`
// positions per trace, before it is allocated.
Duplicate place(const std::vector<Lines>& traces, const LineAxis& il, const LineAxis& xl,
                long long max_positions_per_trace, SegyGeometry& geometry);

}  // namespace korvex::seismic::trace_grid
