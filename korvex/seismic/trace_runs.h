#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "korvex/seismic/segy_geometry.h"

namespace korvex::seismic {

// The traces of a grid with holes as runs: neighbouring positions along a line of the file's
// sorting whose traces follow each other in the file. A sorted survey has a run or two per
// line, so that a time slice walks a few thousand runs where the trace index holds millions
// of positions, and a line across the sorting finds each row's trace in a few bytes where
// the index would take a cache line and a page per row.
class TraceRuns {
public:
    struct Run {
        int32_t start = 0;  // the first position's index along the line
        int32_t length = 0;
        int32_t trace = 0;  // the first position's trace
    };

    TraceRuns() = default;
    // None (empty()) for a grid without holes, or one whose runs are too short to pay for
    // their memory beside the index: an unsorted file's.
    explicit TraceRuns(const SegyGeometry& geometry);

    bool empty() const { return first_run_.empty(); }
    // The runs of line `line` of the sorting, in their order along it.
    const Run* begin(int line) const { return runs_.data() + first_run_[std::size_t(line)]; }
    const Run* end(int line) const { return runs_.data() + first_run_[std::size_t(line) + 1]; }
    // The trace at index `along` of line `line`, -1 for a hole. Inline, and a plain walk for
    // the few runs most lines hold: a line across the sorting asks once per row, and a
    // search's steps cost as much as copying the row's samples.
    int32_t trace_at(int line, int along) const {
        const Run* first = begin(line);
        const Run* last = end(line);
        // Past the last run that starts at or before `along`.
        const Run* after = first;
        if (last - first > WALKED_RUNS)
            after = std::upper_bound(first, last, along,
                                     [](int at, const Run& run) { return at < run.start; });
        else
            while (after != last && after->start <= along) ++after;
        if (after == first) return -1;
        const Run& run = after[-1];
        return along < run.start + run.length ? run.trace + (along - run.start) : -1;
    }

private:
    static constexpr long WALKED_RUNS = 4;
    std::vector<Run> runs_;
    // Where each line's runs begin in runs_, and where the last ends.
    std::vector<int32_t> first_run_;
};

}  // namespace korvex::seismic
