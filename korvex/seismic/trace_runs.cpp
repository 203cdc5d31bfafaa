#include "korvex/seismic/trace_runs.h"

#include <algorithm>

namespace korvex::seismic {

namespace {

// Runs shorter than this on average would take more memory than the index they stand for.
constexpr long long SHORTEST_AVERAGE_RUN = 8;

}  // namespace

TraceRuns::TraceRuns(const SegyGeometry& geometry) {
    if (!geometry.has_holes()) return;
    const bool by_inline = geometry.sorting == SegyGeometry::Sorting::inline_sorted;
    const int lines = by_inline ? geometry.iline_count() : geometry.xline_count();
    const int along = by_inline ? geometry.xline_count() : geometry.iline_count();
    const int32_t* index = geometry.trace_index->data();
    const long long most_runs = geometry.live_trace_count() / SHORTEST_AVERAGE_RUN + lines;
    std::vector<int32_t> first_run(std::size_t(lines) + 1, 0);
    for (int line = 0; line < lines; ++line) {
        const int32_t* traces = index + static_cast<long long>(line) * along;
        for (int k = 0; k < along;) {
            if (traces[k] < 0) {
                ++k;
                continue;
            }
            int end = k + 1;
            while (end < along && traces[end] == traces[k] + (end - k)) ++end;
            if (static_cast<long long>(runs_.size()) == most_runs) {
                runs_ = {};
                return;
            }
            runs_.push_back({k, end - k, traces[k]});
            k = end;
        }
        first_run[std::size_t(line) + 1] = int32_t(runs_.size());
    }
    runs_.shrink_to_fit();
    first_run_ = std::move(first_run);
}

}  // namespace korvex::seismic
