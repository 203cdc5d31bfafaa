#pragma once

#include <QString>
#include <atomic>
#include <cmath>
#include <memory>
#include <vector>

#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/coordinate_bytes.h"
#include "korvex/seismic/file_status.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/segy_geometry.h"
#include "korvex/seismic/segy_layout.h"
#include "korvex/seismic/seismic_export.h"
#include "korvex/seismic/survey_transform.h"
#include "korvex/seismic/trace_runs.h"

namespace korvex::seismic {

class MappedFile;

// Trace-header byte positions of the line numbers.
struct SegyHeaderBytes {
    // A 4-byte field must end inside the 240-byte trace header; segyio reads any
    // position it is given, so one outside would read wild memory.
    static constexpr int FIRST = 1;
    static constexpr int LAST = 237;
    static bool holds_field(double byte) {
        return byte >= FIRST && byte <= LAST && byte == std::floor(byte);
    }

    int iline = 189;
    int xline = 193;
};

// A post-stack SEG-Y volume on disk. Nothing is loaded whole: every section is gathered
// from a memory map of the file when asked for, converted to floats in the same pass.
// A file truncated or rewritten while open makes a read throw instead of killing the
// process (see MappedFile).
//
// Opening reads the headers and checks the line numbers of a few thousand traces spread
// over the file; SectionCache::build checks every trace.
//
// Every failure throws utils::ValueError with a message naming the file and what is wrong;
// an index outside the volume throws utils::LookupError. Reads are const and may run
// concurrently on several threads.
class KORVEX_SEISMIC_EXPORT SegyVolumeFile final {
public:
    // How opening finds where the traces lie: from a sample of their headers when those lie
    // where a grid filled in order puts them, or from every header. The full check places
    // every trace of a file whose sample looked regular but was not.
    enum class TracePlacing { sampled, every_trace };

    explicit SegyVolumeFile(const QString& path, SegyHeaderBytes bytes = {},
                            TracePlacing placing = TracePlacing::sampled);
    ~SegyVolumeFile();
    SegyVolumeFile(const SegyVolumeFile&) = delete;
    SegyVolumeFile& operator=(const SegyVolumeFile&) = delete;

    const QString& path() const { return path_; }
    const SegyGeometry& geometry() const { return geometry_; }
    const SegyHeaderBytes& header_bytes() const { return bytes_; }
    // How opening was asked to place the traces.
    TracePlacing placing() const { return placing_; }
    // The textual header as text, whether the file holds it in EBCDIC or in ASCII: 40
    // lines, trailing blanks cut.
    const QString& textual_header() const { return textual_header_; }
    // Byte order, revision and where the traces lie, from the binary header.
    const SegyLayout& layout() const { return layout_; }
    long long file_size() const;
    // The file as it was at opening.
    const FileStatus& file_status() const;

    // Reads the section of `kind` at line or sample index `index` into `out`, which must
    // hold geometry().section_size(kind) floats; see Section for the layout.
    void read(SectionKind kind, int index, float* out) const;
    // The same, into a new Section.
    Section read(SectionKind kind, int index) const;
    Section read_iline(int iline_index) const { return read(SectionKind::iline, iline_index); }
    Section read_xline(int xline_index) const { return read(SectionKind::xline, xline_index); }
    Section read_depth(int sample_index) const { return read(SectionKind::depth, sample_index); }
    // Quiet NaN samples for a position without a trace, in every read.
    std::vector<float> read_trace(int iline_index, int xline_index) const;
    // Whether reading this section now would wait for the disk: some of the traces it
    // takes are not in the page cache. A time slice takes every trace of the file.
    bool is_cold(SectionKind kind, int index) const;

    // Maps every page of the file into memory now (see MappedFile::populate): a crossline
    // then costs no page faults on its first read. Cheap right after a pass over the whole
    // file, which leaves it in the page cache; SectionCache::build does it.
    void populate_map() const;
    // The same up to the end of the first `traces` traces, from where the last call stopped
    // (see MappedFile::populate_up_to).
    void populate_map_up_to(long long traces) const;

    // The bytes of traces that section, trace and statistics reads have taken from the
    // file so far (a time slice takes every trace): what a picture costs in file reads.
    long long bytes_read() const { return bytes_read_; }

    // Statistics over every trace, or over `max_traces` evenly spread ones when the
    // volume has more, so that opening a large file stays quick.
    AmplitudeStats amplitude_stats(int max_traces = 2000) const;

    // The line numbers and CDP map coordinates of the traces checked at opening: a few
    // thousand spread evenly over the file, enough to fit the survey's map transform
    // without a pass over every header.
    const std::vector<TracePosition>& checked_positions() const { return checked_positions_; }
    // Whether opening placed every trace by its own header (a file with holes or out of its
    // grid's order, or when asked to), so that a pass over the unchanged file need not check
    // them again.
    bool every_trace_placed() const { return geometry_.trace_index != nullptr; }
    // Traces left off the grid for want of line numbers: zero inline and crossline in a
    // file whose other traces number their lines from elsewhere (padding).
    long long unnumbered_traces() const { return unnumbered_traces_; }
    // Where the map coordinates of checked_positions() come from.
    const CoordinateBytes& coordinate_bytes() const { return coordinate_bytes_; }

    // Where the traces lie, for a pass over the whole file: trace `n` starts with its
    // 240-byte header at first_trace_offset() + n * trace_stride(), in file order.
    long long first_trace_offset() const { return trace0_; }
    int trace_stride() const;

private:
    void read_headers();
    // The grid that the leading traces give when the file fills it in order; false when
    // they give none.
    bool read_line_numbers();
    // Reads the sampled traces' positions and coordinates; whether they lie where a `filled`
    // grid puts them.
    bool check_trace_positions(bool filled);
    // The geometry from every trace's header, holes and all.
    void place_every_trace();
    // The headers of `traces`, 240 bytes each, read one by one (see MappedFile::read_at).
    std::vector<char> headers_of(const std::vector<long long>& traces) const;
    int header_field(long long trace, int byte, int size) const;
    // Asks the kernel to read these traces' first `bytes` now: scattered reads on a cold
    // file (the traces opening samples, a line across the sorting) then reach the disk
    // together instead of one after another.
    void announce(const std::vector<long long>& traces, int bytes) const;
    // Announces what a read of this section takes when it looks cold. The map is read
    // page by page (see MappedFile::expect_random_access): a line across the sorting, one
    // trace every few megabytes, would otherwise wait for the disk once per trace, and a
    // line along it once per page. A time slice announces its stretches as it goes.
    void announce_if_cold(SectionKind kind, int index) const;
    // One sample of every trace, in file order, a stretch of the file at a time.
    void read_time_slice(int index, float* out) const;
    // The same through the trace index, a run of neighbouring traces at a time.
    void read_time_slice_with_holes(int index, float* out) const;
    // Calls `visit(start, length, trace)` for each run of neighbouring traces along line
    // `line` of the sorting (see TraceRuns), from the runs where opening made them.
    template <typename Visit>
    void for_each_run(int line, Visit&& visit) const;
    // An inline or crossline through the trace index, a run of holes or of neighbouring
    // traces at a time.
    void read_line_with_holes(SectionKind kind, int index, float* out) const;
    long long trace_in_line(SectionKind kind, int index, int row) const;
    // Where the trace's samples start in the file.
    long long sample_start(long long trace) const;
    const char* samples_of(const char* data, long long trace) const;
    QString describe(SectionKind kind, int index) const;
    [[noreturn]] void fail(const QString& what) const;
    // The same as a PrestackError.
    [[noreturn]] void fail_as_prestack(const QString& what) const;

    QString path_;
    SegyHeaderBytes bytes_;
    TracePlacing placing_;
    QString textual_header_;
    SegyLayout layout_;
    long trace0_ = 0;
    int trace_bytes_ = 0;
    long long unnumbered_traces_ = 0;
    long long traces_ = 0;
    SegyGeometry geometry_;
    TraceRuns runs_;
    std::vector<TracePosition> checked_positions_;
    CoordinateBytes coordinate_bytes_;
    std::unique_ptr<MappedFile> map_;
    mutable std::atomic<long long> bytes_read_{0};
};

}  // namespace korvex::seismic
