#include "korvex/seismic/trace_grid.h"

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic::trace_grid {

using config::_;

namespace {

std::vector<int> numbers_of(const LineAxis& axis) {
    std::vector<int> numbers(static_cast<std::size_t>(axis.lines()));
    for (std::size_t n = 0; n < numbers.size(); ++n)
        numbers[n] = int(axis.first() + static_cast<long long>(n) * axis.step());
    return numbers;
}

}  // namespace

Duplicate place(const std::vector<Lines>& traces, const LineAxis& il, const LineAxis& xl,
                long long max_positions_per_trace, SegyGeometry& geometry) {
    if (il.lines() < 2 || xl.lines() < 2)
        throw utils::ValueError(_("2-D data: a single %1 in the whole file")
                                    .arg(il.lines() < 2 ? _("inline") : _("crossline"))
                                    .toStdString());
    const long long traces_count = static_cast<long long>(traces.size());
    // Line numbers spread over millions would make a grid of billions of positions.
    if (il.lines() > max_positions_per_trace * traces_count / xl.lines())
        throw utils::ValueError(
            _("inlines %1 to %2 in steps of %3 and crosslines %4 to %5 in steps of %6 make a grid "
              "of %7 positions for %8 traces: not a survey grid, or the line numbers are at "
              "other header bytes")
                .arg(il.first())
                .arg(il.last())
                .arg(il.step())
                .arg(xl.first())
                .arg(xl.last())
                .arg(xl.step())
                .arg(double(il.lines()) * double(xl.lines()), 0, 'f', 0)
                .arg(traces_count)
                .toStdString());

    geometry.ilines = numbers_of(il);
    geometry.xlines = numbers_of(xl);
    // Not the first two traces' lines: a ragged survey's first inline may hold one trace.
    const bool by_inline = il.changes() <= xl.changes();
    geometry.sorting =
        by_inline ? SegyGeometry::Sorting::inline_sorted : SegyGeometry::Sorting::crossline_sorted;
    auto index = std::make_shared<std::vector<int32_t>>(
        static_cast<std::size_t>(geometry.position_count()), -1);
    std::vector<int32_t>& trace_at = *index;
    const long long slow_lines = by_inline ? il.lines() : xl.lines();
    // The slow lines the file has left behind: one met again means the file is unsorted.
    std::vector<char> left(static_cast<std::size_t>(slow_lines), 0);
    long long slow_line = -1;
    geometry.sorted = true;
    const bool padded = !il.spans(0);
    long long placed = 0;
    for (std::size_t trace = 0; trace < traces.size(); ++trace) {
        if (padded && (traces[trace].iline | traces[trace].xline) == 0) continue;
        ++placed;
        const long long il_index = il.index_of(traces[trace].iline);
        const long long xl_index = xl.index_of(traces[trace].xline);
        if (const long long slow = by_inline ? il_index : xl_index; slow != slow_line) {
            if (slow_line >= 0) left[std::size_t(slow_line)] = 1;
            geometry.sorted = geometry.sorted && !left[std::size_t(slow)];
            slow_line = slow;
        }
        const auto position =
            static_cast<std::size_t>(geometry.position(int(il_index), int(xl_index)));
        if (trace_at[position] >= 0) return {trace_at[position], static_cast<long long>(trace)};
        trace_at[position] = int32_t(trace);
    }
    geometry.hole_count = geometry.position_count() - placed;
    geometry.trace_index = std::move(index);
    return {};
}

}  // namespace korvex::seismic::trace_grid
