#include "korvex/seismic/segy_volume_file.h"

#include <segyio/segy.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "korvex/config/base.h"
#include "korvex/seismic/cdp_coordinates.h"
#include "korvex/seismic/line_number_scan.h"
#include "korvex/seismic/mapped_file.h"
#include "korvex/seismic/prestack_error.h"
#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/textual_header.h"
#include "korvex/seismic/trace_grid.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Opening checks the line numbers of this many traces spread over the file, besides
// the first and the last; the full check belongs to the one pass that builds the cache.
constexpr long long CHECKED_TRACES = 4096;
constexpr float FALLBACK_INTERVAL_US = 4000.0f;
// Traces looked up in the page cache to tell whether a read would wait for the disk.
constexpr int PROBES = 6;
// A time slice is gathered this many bytes of the file at a time.
constexpr long long TIME_SLICE_STRETCH = 8 << 20;
// Every header of a file with holes is read this many bytes of traces at a time.
constexpr long long HEADER_SCAN_BYTES = 4 << 20;
constexpr long long HEADER_PREFETCH_TRACES = 32;
constexpr float HOLE = std::numeric_limits<float>::quiet_NaN();

// A 4-byte field of a trace header: SegyLayout::field's work without its call, for the
// millions of headers of a file placed trace by trace.
int32_t header_int32(const char* field, bool little_endian) {
    constexpr bool host_little_endian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
    uint32_t value;
    std::memcpy(&value, field, sizeof value);
    return int32_t(little_endian == host_little_endian ? value : __builtin_bswap32(value));
}

// A line across the file's sorting takes one trace every line's length of bytes: each starts
// on a page the processor has not translated lately, and the walk of the page tables (two
// levels deep in a virtual machine) is what a read waits for, not the copy. The processor's
// own prefetcher runs ahead within a page but never into the next one, so each page of a
// trace a few traces ahead is touched once, and its walk overlaps the conversion of the
// traces before it.
constexpr int PREFETCH_TRACES_AHEAD = 4;
constexpr std::uintptr_t PAGE_BYTES = 4096;

void prefetch_pages(const char* data, int bytes) {
    __builtin_prefetch(data);
    const auto end = reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(bytes);
    for (auto page = (reinterpret_cast<std::uintptr_t>(data) | (PAGE_BYTES - 1)) + 1; page < end;
         page += PAGE_BYTES)
        __builtin_prefetch(reinterpret_cast<const char*>(page));
}

}  // namespace

SegyVolumeFile::SegyVolumeFile(const QString& path, SegyHeaderBytes bytes, TracePlacing placing)
    : path_(path), bytes_(bytes), placing_(placing) {
    if (!SegyHeaderBytes::holds_field(bytes.iline) || !SegyHeaderBytes::holds_field(bytes.xline))
        fail(_("header bytes %1 and %2: line numbers must lie at bytes %3 to %4")
                 .arg(bytes.iline)
                 .arg(bytes.xline)
                 .arg(SegyHeaderBytes::FIRST)
                 .arg(SegyHeaderBytes::LAST));
    layout_ = SegyLayout::read(path);
    // Headers and sections alike are read through the map.
    map_ = std::make_unique<MappedFile>(path);
    map_->expect_random_access();
    read_headers();
    QByteArray text(textual_header::SIZE, ' ');
    // Nothing but the copy under the map's guard: a fault there jumps out of it.
    map_->copy(_("the textual header"),
               [&text](const char* data) { std::memcpy(text.data(), data, text.size()); });
    textual_header_ = textual_header::text(text);
    if (traces_ < 2) fail(_("%1 trace: not a volume").arg(traces_));
    // The sampled traces in the places a file that fills its grid gives them: no index is
    // needed. Anything else is placed trace by trace from every header.
    const bool filled = read_line_numbers();
    // The sampled traces give the map coordinates whichever way the traces are placed.
    const bool in_place = check_trace_positions(filled);
    if (!in_place || placing_ == TracePlacing::every_trace) place_every_trace();
    const long long needed = trace0_ + traces_ * trace_stride();
    if (map_->size() < needed) fail(_("the file shrank while it was being opened"));
}

SegyVolumeFile::~SegyVolumeFile() = default;

long long SegyVolumeFile::file_size() const { return map_->size(); }
const FileStatus& SegyVolumeFile::file_status() const { return map_->status(); }
void SegyVolumeFile::populate_map() const { map_->populate(); }
void SegyVolumeFile::populate_map_up_to(long long traces) const {
    map_->populate_up_to(trace0_ + traces * trace_stride());
}

int SegyVolumeFile::trace_stride() const { return SEGY_TRACE_HEADER_SIZE + trace_bytes_; }

void SegyVolumeFile::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

void SegyVolumeFile::fail_as_prestack(const QString& what) const {
    throw PrestackError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

int SegyVolumeFile::header_field(long long trace, int byte, int size) const {
    return layout_.field(headers_of({trace}).data(), byte, size);
}

void SegyVolumeFile::read_headers() {
    geometry_.format = layout_.format;
    geometry_.little_endian = layout_.little_endian;
    geometry_.samples = layout_.samples;
    trace0_ = layout_.trace0;
    // Everything after a trace's 240-byte header, its extension blocks included.
    trace_bytes_ = int(layout_.trace_stride() - SEGY_TRACE_HEADER_SIZE);
    if (layout_.traces > std::numeric_limits<int>::max())
        fail(_("%1 traces, more than korvex can read").arg(layout_.traces));
    traces_ = int(layout_.traces);
    const double interval_us = layout_.interval > 0.0 ? layout_.interval : FALLBACK_INTERVAL_US;
    geometry_.sample_interval_ms = interval_us / 1000.0;

    // Trace-header times carry their own scalar: positive multiplies, negative divides.
    const int scalar = header_field(0, SEGY_TR_SCALAR_TRACE_HEADER, 2);
    const double factor = scalar > 0 ? scalar : (scalar < 0 ? -1.0 / scalar : 1.0);
    geometry_.delay_ms = header_field(0, SEGY_TR_DELAY_REC_TIME, 2) * factor;
}
bool SegyVolumeFile::read_line_numbers() {
    // The leading traces tell the sorting and the length of a line along it; segyio's
    // inference would refuse line numbers at bytes its field table does not list (221).
    // check_trace_positions() then checks traces spread over the whole file.
    std::vector<std::pair<int, int>> leading;
    const auto position = [&](long long trace) {
        while (trace >= static_cast<long long>(leading.size())) {
            // Runs that double: a line along the sorting may be thousands of traces long.
            std::vector<long long> next;
            const long long end = std::min<long long>(traces_, 2 * leading.size() + 64);
            for (long long t = static_cast<long long>(leading.size()); t < end; ++t)
                next.push_back(t);
            const std::vector<char> headers = headers_of(next);
            for (std::size_t n = 0; n < next.size(); ++n) {
                const char* header = headers.data() + n * SEGY_TRACE_HEADER_SIZE;
                leading.emplace_back(layout_.field(header, bytes_.iline),
                                     layout_.field(header, bytes_.xline));
            }
        }
        return leading[std::size_t(trace)];
    };
    // The first trace that differs from the first one in what `same` compares.
    const auto run_length = [&](auto same) {
        long long trace = 1;
        while (trace < traces_ && same(position(trace), position(0))) ++trace;
        return trace;
    };
    const long long offsets = run_length([](auto a, auto b) { return a == b; });
    if (offsets == traces_)
        fail(_("every trace has the same numbers at bytes %1 and %2: the line numbers are at "
               "other header bytes")
                 .arg(bytes_.iline)
                 .arg(bytes_.xline));
    if (offsets > 1)
        fail_as_prestack(
            _("pre-stack data: %1 traces share each inline/crossline position; only post-stack "
              "volumes can be shown")
                .arg(offsets));
    const bool inline_first = position(1).first == position(0).first;
    if (inline_first == (position(1).second == position(0).second)) return false;
    const long long fast = run_length(
        [&](auto a, auto b) { return inline_first ? a.first == b.first : a.second == b.second; });
    if (traces_ % fast != 0) return false;
    const int il_count = int(inline_first ? traces_ / fast : fast);
    const int xl_count = int(inline_first ? fast : traces_ / fast);
    if (il_count < 2 || xl_count < 2) return false;

    // Each slow line's number from its first trace, the fast lines' from the first slow line.
    const bool by_inline = inline_first;
    const int slow_count = by_inline ? il_count : xl_count;
    const int fast_count = by_inline ? xl_count : il_count;
    std::vector<long long> traces;
    for (int slow = 0; slow < slow_count; ++slow)
        traces.push_back(slow * static_cast<long long>(fast_count));
    for (int fast = 1; fast < fast_count; ++fast) traces.push_back(fast);
    const std::vector<char> headers = headers_of(traces);
    const auto field = [&](std::size_t n, int byte) {
        return layout_.field(headers.data() + n * SEGY_TRACE_HEADER_SIZE, byte);
    };
    auto& slow_lines = by_inline ? geometry_.ilines : geometry_.xlines;
    auto& fast_lines = by_inline ? geometry_.xlines : geometry_.ilines;
    const int slow_byte = by_inline ? bytes_.iline : bytes_.xline;
    const int fast_byte = by_inline ? bytes_.xline : bytes_.iline;
    for (int slow = 0; slow < slow_count; ++slow) slow_lines.push_back(field(slow, slow_byte));
    fast_lines.push_back(field(0, fast_byte));
    for (int fast = 1; fast < fast_count; ++fast)
        fast_lines.push_back(field(slow_count + fast - 1, fast_byte));
    geometry_.sorting =
        by_inline ? SegyGeometry::Sorting::inline_sorted : SegyGeometry::Sorting::crossline_sorted;

    // Lines missing from a run of numbers (inlines never shot) are holes of a grid whose
    // numbers keep one step.
    const auto evenly_stepped = [](const std::vector<int>& lines) {
        const long long step = static_cast<long long>(lines[1]) - lines[0];
        for (std::size_t n = 1; n < lines.size(); ++n)
            if (static_cast<long long>(lines[n]) - lines[n - 1] != step) return false;
        return step != 0;
    };
    return evenly_stepped(geometry_.ilines) && evenly_stepped(geometry_.xlines);
}

bool SegyVolumeFile::check_trace_positions(bool filled) {
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long il_count = geometry_.iline_count();
    const long long xl_count = geometry_.xline_count();
    const auto in_place = [&](long long trace, int iline, int xline) {
        const auto il_index = by_inline ? trace / xl_count : trace % il_count;
        const auto xl_index = by_inline ? trace % xl_count : trace / il_count;
        return iline == geometry_.ilines[il_index] && xline == geometry_.xlines[xl_index];
    };
    const long long step = std::max(1LL, traces_ / CHECKED_TRACES);
    std::vector<long long> checked;
    for (long long trace = 0; trace < traces_; trace += step) checked.push_back(trace);
    if ((traces_ - 1) % step != 0) checked.push_back(traces_ - 1);
    const std::vector<char> headers = headers_of(checked);
    coordinate_bytes_ = CoordinateBytes::find(
        [&](std::size_t n, int byte) {
            return layout_.field(headers.data() + n * SEGY_TRACE_HEADER_SIZE, byte);
        },
        checked.size());
    for (std::size_t n = 0; n < checked.size(); ++n) {
        const char* header = headers.data() + n * SEGY_TRACE_HEADER_SIZE;
        const int iline = layout_.field(header, bytes_.iline);
        const int xline = layout_.field(header, bytes_.xline);
        const CdpCoordinates cdp{layout_.field(header, coordinate_bytes_.x),
                                 layout_.field(header, coordinate_bytes_.y),
                                 layout_.field(header, SEGY_TR_SOURCE_GROUP_SCALAR, 2)};
        filled = filled && in_place(checked[n], iline, xline);
        checked_positions_.push_back(
            {double(iline), double(xline), cdp.scaled(cdp.x), cdp.scaled(cdp.y)});
    }
    return filled;
}

void SegyVolumeFile::place_every_trace() {
    std::vector<trace_grid::Lines> lines(static_cast<std::size_t>(traces_));
    const long long stride = trace_stride();
    const long long chunk = std::max(1LL, HEADER_SCAN_BYTES / stride);
    const bool little_endian = layout_.little_endian;
    const int iline_at = bytes_.iline - 1;
    const int xline_at = bytes_.xline - 1;
    trace_grid::LineAxis il;
    trace_grid::LineAxis xl;
    map_->will_need(trace0_, chunk * stride);
    for (long long first = 0; first < traces_; first += chunk) {
        const long long count = std::min(chunk, traces_ - first);
        const long long offset = trace0_ + first * stride;
        // Random access was announced for the map: the scan asks ahead for itself.
        map_->will_need(offset + count * stride, chunk * stride);
        // Through the map, as a time slice is read: a header lies on every page or two,
        // so the scan takes the whole file whatever it reads, and copying it out would
        // cost more than the pages' mapping.
        map_->copy(_("the trace headers"), [&](const char* data) {
            const char* header = data + offset;
            trace_grid::Lines* target = lines.data() + first;
            for (long long n = 0; n < count; ++n, header += stride) {
                // The hardware stops prefetching at each page's end; a page or two holds a
                // header only every few cache lines, so the scan waits on memory there.
                __builtin_prefetch(header + HEADER_PREFETCH_TRACES * stride + iline_at);
                target[n] = {header_int32(header + iline_at, little_endian),
                             header_int32(header + xline_at, little_endian)};
                il.add(target[n].iline);
                xl.add(target[n].xline);
            }
        });
        // The file would otherwise stay in the process's map, and count as its memory.
        map_->release(offset, count * stride);
    }
    // Padding traces leave their line numbers at zero. Only a file with such traces has
    // both axes reach zero, and is looked at again: unless the other traces number their
    // lines from zero, the axes are theirs alone and the padding is left off the grid (see
    // trace_grid::place).
    if (il.spans(0) && xl.spans(0)) {
        trace_grid::LineAxis numbered_il;
        trace_grid::LineAxis numbered_xl;
        long long unnumbered = 0;
        for (const trace_grid::Lines& trace : lines) {
            if ((trace.iline | trace.xline) == 0) {
                ++unnumbered;
                continue;
            }
            numbered_il.add(trace.iline);
            numbered_xl.add(trace.xline);
        }
        if (unnumbered > 0 && !numbered_il.spans(0) && !numbered_xl.spans(0)) {
            il = numbered_il;
            xl = numbered_xl;
            unnumbered_traces_ = unnumbered;
        }
    }
    trace_grid::Duplicate duplicate;
    try {
        duplicate =
            trace_grid::place(lines, il, xl, LineNumberScan::MAX_POSITIONS_PER_TRACE, geometry_);
    } catch (const utils::ValueError& error) {
        fail(QString::fromStdString(error.what()));
    }
    if (!duplicate.found()) {
        runs_ = TraceRuns(geometry_);
        return;
    }
    const auto& at = lines[std::size_t(duplicate.first)];
    if (header_field(duplicate.first, SEGY_TR_OFFSET, 4) !=
        header_field(duplicate.second, SEGY_TR_OFFSET, 4))
        fail_as_prestack(_("pre-stack data: traces %1 and %2 both lie at inline %3, crossline %4 "
                           "at different offsets; only post-stack volumes can be shown")
                             .arg(duplicate.first + 1)
                             .arg(duplicate.second + 1)
                             .arg(at.iline)
                             .arg(at.xline));
    fail(_("traces %1 and %2 both lie at inline %3, crossline %4 (bytes %5 and %6): a position "
           "holds one trace")
             .arg(duplicate.first + 1)
             .arg(duplicate.second + 1)
             .arg(at.iline)
             .arg(at.xline)
             .arg(bytes_.iline)
             .arg(bytes_.xline));
}

std::vector<char> SegyVolumeFile::headers_of(const std::vector<long long>& traces) const {
    announce(traces, SEGY_TRACE_HEADER_SIZE);
    std::vector<char> headers(traces.size() * SEGY_TRACE_HEADER_SIZE);
    for (std::size_t n = 0; n < traces.size(); ++n)
        map_->read_at(trace0_ + traces[n] * trace_stride(),
                      headers.data() + n * SEGY_TRACE_HEADER_SIZE, SEGY_TRACE_HEADER_SIZE,
                      _("the trace headers"));
    return headers;
}

void SegyVolumeFile::announce(const std::vector<long long>& traces, int bytes) const {
    const long long stride = trace_stride();
    for (std::size_t first = 0; first < traces.size();) {
        // Neighbouring whole traces, a line along the sorting, go as one range.
        std::size_t end = first + 1;
        while (bytes == stride && end < traces.size() && traces[end] == traces[end - 1] + 1) ++end;
        map_->will_need(trace0_ + traces[first] * stride,
                        static_cast<long long>(end - first - 1) * stride + bytes);
        first = end;
    }
}

long long SegyVolumeFile::sample_start(long long trace) const {
    return trace0_ + trace * trace_stride() + layout_.sample_offset();
}

const char* SegyVolumeFile::samples_of(const char* data, long long trace) const {
    return data + sample_start(trace);
}

QString SegyVolumeFile::describe(SectionKind kind, int index) const {
    switch (kind) {
        case SectionKind::iline:
            return _("inline %1").arg(geometry_.ilines[index]);
        case SectionKind::xline:
            return _("crossline %1").arg(geometry_.xlines[index]);
        case SectionKind::depth:
            break;
    }
    return _("the time slice at %1 ms").arg(geometry_.time_at(index));
}

void SegyVolumeFile::read(SectionKind kind, int index, float* out) const {
    if (index < 0 || index >= geometry_.section_count(kind))
        throw utils::LookupError(QStringLiteral("%1: section index %2 is outside the volume")
                                     .arg(path_)
                                     .arg(index)
                                     .toStdString());
    if (kind == SectionKind::depth) return read_time_slice(index, out);
    if (geometry_.has_holes()) return read_line_with_holes(kind, index, out);
    const int format = geometry_.sample_encoding();
    const int samples = geometry_.samples;
    const int rows = geometry_.section_rows(kind);
    // Where each row's samples start, worked out before the copy: its loop then holds no
    // calls besides the conversion, and more of it fits in the processor's window while it
    // waits on the page walk of a trace ahead.
    std::vector<long long> starts(static_cast<std::size_t>(rows));
    const long long first_sample = sample_start(0);
    const long long stride = trace_stride();
    for (int row = 0; row < rows; ++row)
        starts[std::size_t(row)] = first_sample + trace_in_line(kind, index, row) * stride;
    // The map reads no more than each fault's page: what a read takes is announced.
    announce_if_cold(kind, index);
    bytes_read_ += rows * stride;
    map_->copy(describe(kind, index), [&](const char* data) {
        for (int row = 0; row < rows; ++row) {
            if (const int ahead = row + PREFETCH_TRACES_AHEAD; ahead < rows)
                prefetch_pages(data + starts[ahead], trace_bytes_);
            sample_format::to_floats(format, data + starts[row], out + std::size_t(row) * samples,
                                     samples);
        }
    });
}

void SegyVolumeFile::read_time_slice(int index, float* out) const {
    if (geometry_.has_holes()) return read_time_slice_with_holes(index, out);
    const int format = geometry_.sample_encoding();
    const long long stride = trace_stride();
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    const int xl_count = geometry_.xline_count();
    // The file's lines along its sorting, each `fast` traces; the slice is a row per inline.
    const int slow = by_inline ? geometry_.iline_count() : xl_count;
    const int fast = by_inline ? xl_count : geometry_.iline_count();
    const long long line_bytes = fast * stride;
    const int stretch = int(std::clamp<long long>(TIME_SLICE_STRETCH / line_bytes, 1, slow));
    const auto bytes_of = [&](int first, int lines) {
        return std::pair(trace0_ + first * line_bytes, lines * line_bytes);
    };
    // Asked of the disk one stretch ahead of the gather, when the file is not in memory.
    const bool cold = is_cold(SectionKind::depth, index);
    const auto announce_from = [&](int first) {
        if (!cold || first >= slow) return;
        const auto [offset, length] = bytes_of(first, std::min(stretch, slow - first));
        map_->will_need(offset, length);
    };
    bytes_read_ += traces_ * stride;
    announce_from(0);
    for (int first = 0; first < slow; first += stretch) {
        const int lines = std::min(stretch, slow - first);
        announce_from(first + lines);
        map_->copy(describe(SectionKind::depth, index), [&](const char* data) {
            // Strided passes in file order, so that the hardware prefetches ahead.
            for (int line = first; line < first + lines; ++line)
                sample_format::gather_to_floats(
                    format,
                    samples_of(data, line * static_cast<long long>(fast)) +
                        std::size_t(index) * sample_format::size_of(format),
                    std::size_t(stride), out + (by_inline ? std::size_t(line) * fast : line),
                    by_inline ? 1 : xl_count, fast);
        });
        // Every page of the stretch is now in the process's map, which would count the
        // file as its own memory, all of it by the end of the slice. The page cache keeps them.
        const auto [offset, length] = bytes_of(first, lines);
        map_->release(offset, length);
    }
}

template <typename Visit>
void SegyVolumeFile::for_each_run(int line, Visit&& visit) const {
    if (!runs_.empty()) {
        for (const TraceRuns::Run* run = runs_.begin(line); run != runs_.end(line); ++run)
            visit(run->start, run->length, run->trace);
        return;
    }
    const int along = geometry_.sorting == SegyGeometry::Sorting::inline_sorted
                          ? geometry_.xline_count()
                          : geometry_.iline_count();
    const int32_t* traces = geometry_.trace_index->data() + static_cast<long long>(line) * along;
    for (int k = 0; k < along;) {
        int end = k + 1;
        if (traces[k] >= 0) {
            while (end < along && traces[end] == traces[k] + (end - k)) ++end;
            visit(k, end - k, traces[k]);
        }
        k = end;
    }
}

void SegyVolumeFile::read_line_with_holes(SectionKind kind, int index, float* out) const {
    const int format = geometry_.sample_encoding();
    const int samples = geometry_.samples;
    const int rows = geometry_.section_rows(kind);
    const long long stride = trace_stride();
    // The line's positions lie evenly spaced in the index.
    const bool by_iline = kind == SectionKind::iline;
    const long long first = by_iline ? geometry_.position(index, 0) : geometry_.position(0, index);
    const long long step =
        (by_iline ? geometry_.position(index, 1) : geometry_.position(1, index)) - first;
    // Where each row's samples start (NO_TRACE for a hole), worked out before the copy so
    // that its loop waits on the file's pages only, as a regular line's does. Across the
    // sorting, the line's runs give the traces: the index would take a cache line and a page
    // of its own for every row.
    constexpr long long NO_TRACE = -1;
    std::vector<long long> starts(static_cast<std::size_t>(rows));
    const int32_t* positions = geometry_.trace_index->data() + first;
    const bool across = by_iline != (geometry_.sorting == SegyGeometry::Sorting::inline_sorted);
    const bool by_runs = across && !runs_.empty();
    const long long first_sample = sample_start(0);
    long long traces = 0;
    for (int row = 0; row < rows; ++row) {
        const int32_t trace = by_runs ? runs_.trace_at(row, index) : positions[row * step];
        starts[std::size_t(row)] = trace < 0 ? NO_TRACE : first_sample + trace * stride;
        traces += trace >= 0;
    }
    announce_if_cold(kind, index);
    map_->copy(describe(kind, index), [&](const char* data) {
        for (int row = 0; row < rows;) {
            // A line across the sorting is a run of one trace per row: see prefetch_pages.
            if (const int ahead = row + PREFETCH_TRACES_AHEAD; ahead < rows && starts[ahead] >= 0)
                prefetch_pages(data + starts[ahead], trace_bytes_);
            const long long start = starts[std::size_t(row)];
            float* target = out + std::size_t(row) * samples;
            int end = row + 1;
            if (start == NO_TRACE) {
                while (end < rows && starts[std::size_t(end)] == NO_TRACE) ++end;
                std::fill(target, out + std::size_t(end) * samples, HOLE);
            } else if (across) {
                sample_format::to_floats(format, data + start, target, samples);
            } else {
                // Neighbours in the file, as a line along the sorting holds, go as one.
                while (end < rows && starts[std::size_t(end)] == start + (end - row) * stride)
                    ++end;
                sample_format::traces_to_floats(format, data + start, std::size_t(stride), target,
                                                std::size_t(samples), std::size_t(end - row));
            }
            row = end;
        }
    });
    bytes_read_ += traces * stride;
}

void SegyVolumeFile::read_time_slice_with_holes(int index, float* out) const {
    const int format = geometry_.sample_encoding();
    const long long stride = trace_stride();
    const long long sample = layout_.sample_offset() + index * sample_format::size_of(format);
    const bool cold = is_cold(SectionKind::depth, index);
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    const int xl_count = geometry_.xline_count();
    const int slow = by_inline ? geometry_.iline_count() : xl_count;
    const int fast = by_inline ? xl_count : geometry_.iline_count();
    // A line along the sorting is a row of the slice, or a column of it.
    const std::size_t step = by_inline ? 1 : std::size_t(xl_count);
    // Stretches of the file as long as a regular file's, not of as many positions: each
    // stretch's release splits the page cache's folios at its ends, which the next stretch
    // faults in again (5 % more faults, and time, with stretches of positions).
    const long long line_bytes = std::max(1LL, traces_ / slow) * stride;
    const int stretch = int(std::clamp<long long>(TIME_SLICE_STRETCH / line_bytes, 1, slow));
    bytes_read_ += traces_ * stride;
    for (int first = 0; first < slow; first += stretch) {
        const int lines = std::min(stretch, slow - first);
        const long long positions = first * static_cast<long long>(fast);
        // The traces of a stretch of lines lie in a stretch of the file unless the file is
        // unsorted; then the announcements and releases cover more than they need.
        if (cold) {
            const auto [low, high] =
                geometry_.trace_span(positions, positions + lines * static_cast<long long>(fast));
            if (high >= 0) map_->will_need(trace0_ + low * stride, (high - low + 1) * stride);
        }
        long long low = traces_;
        long long high = -1;
        map_->copy(describe(SectionKind::depth, index), [&](const char* data) {
            for (int line = first; line < first + lines; ++line) {
                float* target = out + (by_inline ? std::size_t(line) * fast : std::size_t(line));
                int done = 0;
                const auto holes_until = [&](int end) {
                    for (; done < end; ++done) target[done * step] = HOLE;
                };
                for_each_run(line, [&](int start, int length, int32_t trace) {
                    holes_until(start);
                    sample_format::gather_to_floats(
                        format, data + trace0_ + trace * stride + sample, std::size_t(stride),
                        target + start * step, step, std::size_t(length));
                    low = std::min<long long>(low, trace);
                    high = std::max<long long>(high, trace + length - 1);
                    done = start + length;
                });
                holes_until(fast);
            }
        });
        if (high >= 0) map_->release(trace0_ + low * stride, (high - low + 1) * stride);
    }
}

long long SegyVolumeFile::trace_in_line(SectionKind kind, int index, int row) const {
    return kind == SectionKind::iline ? geometry_.trace_number(index, row)
                                      : geometry_.trace_number(row, index);
}

bool SegyVolumeFile::is_cold(SectionKind kind, int index) const {
    if (map_->wholly_resident()) return false;
    const bool depth = kind == SectionKind::depth;
    const long long count = depth ? traces_ : geometry_.section_rows(kind);
    const long long offset =
        depth ? layout_.sample_offset() + index * sample_format::size_of(geometry_.format) : 0;
    const auto resident = [&](long long n) {
        const long long trace = depth ? n : trace_in_line(kind, index, int(n));
        return trace < 0 || map_->resident(trace0_ + trace * trace_stride() + offset);
    };
    // Opening read single traces spread evenly over the file (first, middle and last
    // among them) with the pages around them: the probes fall between those.
    for (int probe = 1; probe <= PROBES; ++probe)
        if (!resident(std::min(count - 1, count * probe / (PROBES + 1) + 3))) return true;
    return false;
}

void SegyVolumeFile::announce_if_cold(SectionKind kind, int index) const {
    if (!is_cold(kind, index)) return;
    const int rows = geometry_.section_rows(kind);
    std::vector<long long> traces;
    for (int row = 0; row < rows; ++row)
        if (const long long trace = trace_in_line(kind, index, row); trace >= 0)
            traces.push_back(trace);
    announce(traces, trace_stride());
}

Section SegyVolumeFile::read(SectionKind kind, int index) const {
    Section section{geometry_.section_rows(kind), geometry_.section_columns(kind), {}};
    section.values.resize(geometry_.section_size(kind));
    read(kind, index, section.values.data());
    return section;
}

std::vector<float> SegyVolumeFile::read_trace(int iline_index, int xline_index) const {
    const int iline = geometry_.ilines.at(iline_index);
    const int xline = geometry_.xlines.at(xline_index);
    const auto trace = geometry_.trace_number(iline_index, xline_index);
    std::vector<float> values(geometry_.samples, HOLE);
    if (trace < 0) return values;
    bytes_read_ += trace_stride();
    map_->copy(_("the trace at inline %1, crossline %2").arg(iline).arg(xline),
               [&](const char* data) {
                   sample_format::to_floats(geometry_.sample_encoding(), samples_of(data, trace),
                                            values.data(), values.size());
               });
    return values;
}

AmplitudeStats SegyVolumeFile::amplitude_stats(int max_traces) const {
    const long long traces = traces_;
    const long long used = std::min<long long>(traces, std::max(1, max_traces));
    const int samples = geometry_.samples;
    std::vector<long long> sampled(static_cast<std::size_t>(used));
    for (long long i = 0; i < used; ++i) sampled[std::size_t(i)] = i * traces / used;
    announce(sampled, trace_stride());
    bytes_read_ += used * trace_stride();
    std::vector<float> values(static_cast<std::size_t>(used) * samples);
    const int encoding = geometry_.sample_encoding();
    std::vector<char> raw(std::size_t(samples) * sample_format::size_of(encoding));
    for (long long i = 0; i < used; ++i) {
        map_->read_at(trace0_ + sampled[std::size_t(i)] * trace_stride() + layout_.sample_offset(),
                      raw.data(), raw.size(), _("the amplitude statistics"));
        sample_format::to_floats(encoding, raw.data(), values.data() + i * samples, samples);
    }
    return AmplitudeStats::of(std::move(values), used < traces);
}

}  // namespace korvex::seismic
