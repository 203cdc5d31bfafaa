#pragma once

#include <cstddef>
#include <vector>

#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/section.h"

namespace korvex::seismic {

// Where the traces of a post-stack volume sit, as read from their headers.
struct SegyGeometry {
    // Which line number changes slowest from one trace to the next.
    enum class Sorting { inline_sorted, crossline_sorted };

    Sorting sorting = Sorting::inline_sorted;
    // Line numbers in file order, which may run up or down.
    std::vector<int> ilines;
    std::vector<int> xlines;
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
    long long trace_count() const { return static_cast<long long>(ilines.size()) * xline_count(); }
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
    // File position of the trace at these line indices.
    long long trace_number(int iline_index, int xline_index) const {
        return sorting == Sorting::inline_sorted
                   ? static_cast<long long>(iline_index) * xline_count() + xline_index
                   : static_cast<long long>(xline_index) * iline_count() + iline_index;
    }
};

}  // namespace korvex::seismic
