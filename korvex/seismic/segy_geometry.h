#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/section.h"

namespace korvex::seismic {

// Where the traces of a post-stack volume sit, as read from their headers: on the grid
// that bounds their line numbers, in the smallest step seen along each direction. A
// position of the grid without a trace is a hole, read as quiet NaN samples.
struct SegyGeometry {
    // Which line number changes slowest from one trace to the next; for a file with
    // holes, the order of the grid's positions (see position()).
    enum class Sorting { inline_sorted, crossline_sorted };

    Sorting sorting = Sorting::inline_sorted;
    // Whether the file holds each line along `sorting` in one run of traces; an unsorted
    // file's `sorting` only orders the grid's positions.
    bool sorted = true;
    // The grid's line numbers: in file order for a file that fills its grid, which may
    // run up or down; ascending for one with holes.
    std::vector<int> ilines;
    std::vector<int> xlines;
    // The file's trace at every position(), -1 for a hole. Empty when the traces fill
    // the grid in its order, so that a trace's number is its position. Shared: 16 MB for
    // a 2000 x 2000 grid, and geometries are copied.
    std::shared_ptr<const std::vector<int32_t>> trace_index;
    long long hole_count = 0;
    int samples = 0;
    double sample_interval_ms = 0.0;
    double delay_ms = 0.0;
    // The SEG-Y sample format code of the binary header.
    int format = 0;
    bool little_endian = false;

    // The format code and byte order, as sample_format reads them.
    int sample_encoding() const {
        return little_endian ? format | sample_format::LITTLE_ENDIAN_FLAG : format;
    }
    int iline_count() const { return static_cast<int>(ilines.size()); }
    int xline_count() const { return static_cast<int>(xlines.size()); }
    long long position_count() const {
        return static_cast<long long>(ilines.size()) * xline_count();
    }
    // The file's traces: the positions less the holes.
    long long live_trace_count() const { return position_count() - hole_count; }
    bool has_holes() const { return trace_index != nullptr; }
    double time_at(int sample) const { return delay_ms + sample * sample_interval_ms; }
    double last_time() const { return time_at(samples - 1); }
    // Step between neighbouring line numbers (signed; 0 for a single line).
    int iline_increment() const { return ilines.size() > 1 ? ilines[1] - ilines[0] : 0; }
    int xline_increment() const { return xlines.size() > 1 ? xlines[1] - xlines[0] : 0; }
    // How many sections of `kind` the volume holds, and their shape (see Section).
    int section_count(SectionKind kind) const {
        return kind == SectionKind::iline   ? iline_count()
               : kind == SectionKind::xline ? xline_count()
                                            : samples;
    }
    int section_rows(SectionKind kind) const {
        return kind == SectionKind::iline ? xline_count() : iline_count();
    }
    int section_columns(SectionKind kind) const {
        return kind == SectionKind::depth ? xline_count() : samples;
    }
    std::size_t section_size(SectionKind kind) const {
        return static_cast<std::size_t>(section_rows(kind)) * section_columns(kind);
    }
    // The grid position of these line indices: slow line by fast line, as `sorting` says.
    long long position(int iline_index, int xline_index) const {
        return sorting == Sorting::inline_sorted
                   ? static_cast<long long>(iline_index) * xline_count() + xline_index
                   : static_cast<long long>(xline_index) * iline_count() + iline_index;
    }
    // The trace's number in the file (from 0) at a position, -1 for a hole.
    long long trace_at(long long position) const {
        return trace_index ? (*trace_index)[static_cast<std::size_t>(position)] : position;
    }
    // The trace's number in the file (from 0) at these line indices, -1 for a hole.
    long long trace_number(int iline_index, int xline_index) const {
        return trace_at(position(iline_index, xline_index));
    }
    // The lowest and highest trace numbers at positions first .. end - 1; high is -1 when
    // they are all holes.
    std::pair<long long, long long> trace_span(long long first, long long end) const {
        if (!trace_index) return {first, end - 1};
        long long low = live_trace_count(), high = -1;
        for (long long p = first; p < end; ++p) {
            if (const long long trace = trace_at(p); trace >= 0) {
                low = trace < low ? trace : low;
                high = trace > high ? trace : high;
            }
        }
        return {low, high};
    }
    bool has_trace(int iline_index, int xline_index) const {
        return trace_number(iline_index, xline_index) >= 0;
    }
};

}  // namespace korvex::seismic
