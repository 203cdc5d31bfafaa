#include "korvex/seismic/segy_volume_file.h"

#include <segyio/segy.h>

#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

constexpr long long HEADERS_SIZE = SEGY_TEXT_HEADER_SIZE + SEGY_BINARY_HEADER_SIZE;
// Opening checks the line numbers of this many traces spread over the file, besides
// the first and the last; a full header scan would make large files slow to open.
constexpr long long CHECKED_TRACES = 4096;
constexpr float FALLBACK_INTERVAL_US = 4000.0f;

bool is_supported_format(int format) {
    switch (format) {
        case SEGY_IBM_FLOAT_4_BYTE:
        case SEGY_SIGNED_INTEGER_4_BYTE:
        case SEGY_SIGNED_SHORT_2_BYTE:
        case SEGY_IEEE_FLOAT_4_BYTE:
        case SEGY_SIGNED_CHAR_1_BYTE:
            return true;
        default:
            return false;
    }
}

QString read_error_text(int code) {
    switch (code) {
        case SEGY_FREAD_ERROR:
            return _("the file ends before the data its headers describe (truncated while open?)");
        case SEGY_FSEEK_ERROR:
            return _("cannot seek in the file");
        default:
            return _("segyio error %1").arg(code);
    }
}

template <typename T>
void widen(const std::vector<char>& raw, std::vector<float>& out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        T value;
        std::memcpy(&value, raw.data() + i * sizeof(T), sizeof(T));
        out[i] = static_cast<float>(value);
    }
}

}  // namespace

SegyVolumeFile::SegyVolumeFile(const QString& path, SegyHeaderBytes bytes)
    : path_(path), bytes_(bytes) {
    const QFileInfo info(path);
    if (!info.exists()) fail(_("no such file"));
    if (!info.isFile()) fail(_("not a regular file"));
    file_size_ = info.size();
    if (file_size_ < HEADERS_SIZE + SEGY_TRACE_HEADER_SIZE)
        fail(_("not a SEG-Y file: %1 bytes, fewer than the SEG-Y headers and one trace take")
                 .arg(file_size_));
    file_ = segy_open(QFile::encodeName(path).constData(), "rb");
    if (!file_) fail(_("cannot be opened for reading"));
    try {
        read_headers();
        read_line_numbers();
        check_trace_positions();
    } catch (...) {
        segy_close(file_);
        throw;
    }
}

SegyVolumeFile::~SegyVolumeFile() { segy_close(file_); }

void SegyVolumeFile::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

void SegyVolumeFile::fail_read(int code, const QString& what) const {
    fail(_("reading %1 failed: %2").arg(what, read_error_text(code)));
}

int SegyVolumeFile::header_field(long long trace, int byte) const {
    char header[SEGY_TRACE_HEADER_SIZE];
    const int err = segy_traceheader(file_, static_cast<int>(trace), header, trace0_, trace_bytes_);
    if (err != SEGY_OK) fail_read(err, _("the header of trace %1").arg(trace + 1));
    int32_t value = 0;
    segy_get_field(header, byte, &value);
    return value;
}

void SegyVolumeFile::read_headers() {
    std::vector<char> binary(segy_binheader_size());
    if (const int err = segy_binheader(file_, binary.data()); err != SEGY_OK)
        fail_read(err, _("the binary header"));

    const int format = segy_format(binary.data());
    if (!is_supported_format(format))
        fail(_("not a SEG-Y file, or one with an unsupported sample format: the binary header "
               "gives sample format code %1 (readable: 1 IBM float, 2 and 3 and 8 integers, "
               "5 IEEE float)")
                 .arg(format));
    geometry_.format = format;
    segy_set_format(file_, format);

    trace0_ = segy_trace0(binary.data());
    if (trace0_ < HEADERS_SIZE || trace0_ + SEGY_TRACE_HEADER_SIZE > file_size_)
        fail(_("the binary header announces more extended textual headers than the file holds"));

    int samples = segy_samples(binary.data());
    if (samples <= 0) samples = header_field(0, SEGY_TR_SAMPLE_COUNT);
    if (samples <= 0)
        fail(_("zero samples per trace in both the binary header and the first trace header"));
    trace_bytes_ = segy_trsize(format, samples);
    const long long data_bytes = file_size_ - trace0_;
    if (SEGY_TRACE_HEADER_SIZE + static_cast<long long>(trace_bytes_) > data_bytes)
        fail(_("%1 samples per trace is impossible: one trace would need %2 bytes, the file "
               "holds %3 after its headers")
                 .arg(samples)
                 .arg(SEGY_TRACE_HEADER_SIZE + trace_bytes_)
                 .arg(data_bytes));
    if (const int err = segy_traces(file_, &traces_, trace0_, trace_bytes_); err != SEGY_OK)
        fail(_("truncated, or the sample count is wrong: %1 bytes of traces is not a whole "
               "number of %2-byte traces of %3 samples")
                 .arg(data_bytes)
                 .arg(SEGY_TRACE_HEADER_SIZE + trace_bytes_)
                 .arg(samples));
    geometry_.samples = samples;

    float interval_us = 0.0f;
    segy_sample_interval(file_, FALLBACK_INTERVAL_US, &interval_us);
    if (interval_us <= 0.0f) interval_us = FALLBACK_INTERVAL_US;
    geometry_.sample_interval_ms = interval_us / 1000.0;

    // Trace-header times carry their own scalar: positive multiplies, negative divides.
    const int scalar = header_field(0, SEGY_TR_SCALAR_TRACE_HEADER);
    const double factor = scalar > 0 ? scalar : (scalar < 0 ? -1.0 / scalar : 1.0);
    geometry_.delay_ms = header_field(0, SEGY_TR_DELAY_REC_TIME) * factor;
}

void SegyVolumeFile::read_line_numbers() {
    const QString unsorted =
        _("the traces are not sorted by inline (byte %1) and crossline (byte %2): 2-D or "
          "pre-stack data, or the line numbers are at other header bytes")
            .arg(bytes_.iline)
            .arg(bytes_.xline);
    if (traces_ < 4) fail(unsorted);

    int offsets = 0;
    int err =
        segy_offsets(file_, bytes_.iline, bytes_.xline, traces_, &offsets, trace0_, trace_bytes_);
    if (err != SEGY_OK) fail(unsorted);
    if (offsets == traces_)
        fail(_("every trace has the same numbers at bytes %1 and %2: the line numbers are at "
               "other header bytes")
                 .arg(bytes_.iline)
                 .arg(bytes_.xline));
    if (offsets > 1)
        fail(_("pre-stack data: %1 traces share each inline/crossline position; only post-stack "
               "volumes can be shown")
                 .arg(offsets));

    int sorting = SEGY_UNKNOWN_SORTING;
    err = segy_sorting(file_, bytes_.iline, bytes_.xline, SEGY_TR_OFFSET, &sorting, trace0_,
                       trace_bytes_);
    if (err == SEGY_INVALID_FIELD)
        fail(_("header bytes %1 and %2 are not valid positions of 4-byte trace header fields")
                 .arg(bytes_.iline)
                 .arg(bytes_.xline));
    if (err != SEGY_OK || sorting == SEGY_UNKNOWN_SORTING) fail(unsorted);

    int il_count = 0;
    int xl_count = 0;
    err = segy_lines_count(file_, bytes_.iline, bytes_.xline, sorting, offsets, &il_count,
                           &xl_count, trace0_, trace_bytes_);
    if (err != SEGY_OK || static_cast<long long>(il_count) * xl_count != traces_) fail(unsorted);
    if (il_count < 2 || xl_count < 2)
        fail(_("2-D data: a single %1 in the whole file")
                 .arg(il_count < 2 ? _("inline") : _("crossline")));

    geometry_.ilines.resize(il_count);
    geometry_.xlines.resize(xl_count);
    err = segy_inline_indices(file_, bytes_.iline, sorting, il_count, xl_count, offsets,
                              geometry_.ilines.data(), trace0_, trace_bytes_);
    if (err == SEGY_OK)
        err = segy_crossline_indices(file_, bytes_.xline, sorting, il_count, xl_count, offsets,
                                     geometry_.xlines.data(), trace0_, trace_bytes_);
    if (err != SEGY_OK) fail(unsorted);
    geometry_.sorting = sorting == SEGY_INLINE_SORTING ? SegyGeometry::Sorting::inline_sorted
                                                       : SegyGeometry::Sorting::crossline_sorted;

    for (const auto* lines : {&geometry_.ilines, &geometry_.xlines}) {
        if (std::set<int>(lines->begin(), lines->end()).size() != lines->size()) fail(unsorted);
    }
}

void SegyVolumeFile::check_trace_positions() const {
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long il_count = geometry_.iline_count();
    const long long xl_count = geometry_.xline_count();
    const auto check = [&](long long trace) {
        const auto il_index = by_inline ? trace / xl_count : trace % il_count;
        const auto xl_index = by_inline ? trace % xl_count : trace / il_count;
        if (header_field(trace, bytes_.iline) != geometry_.ilines[il_index] ||
            header_field(trace, bytes_.xline) != geometry_.xlines[xl_index])
            fail(_("trace %1 is out of place: the traces are not sorted on a regular "
                   "inline/crossline grid (bytes %2 and %3)")
                     .arg(trace + 1)
                     .arg(bytes_.iline)
                     .arg(bytes_.xline));
    };
    const long long traces = geometry_.trace_count();
    const long long step = std::max(1LL, traces / CHECKED_TRACES);
    for (long long trace = 0; trace < traces; trace += step) check(trace);
    check(traces - 1);
}

std::vector<float> SegyVolumeFile::to_floats(std::vector<char>& raw, std::size_t count) const {
    segy_to_native(geometry_.format, static_cast<long long>(count), raw.data());
    std::vector<float> values(count);
    switch (geometry_.format) {
        case SEGY_SIGNED_INTEGER_4_BYTE:
            widen<int32_t>(raw, values);
            break;
        case SEGY_SIGNED_SHORT_2_BYTE:
            widen<int16_t>(raw, values);
            break;
        case SEGY_SIGNED_CHAR_1_BYTE:
            widen<int8_t>(raw, values);
            break;
        default:  // IBM floats are IEEE after segy_to_native
            std::memcpy(values.data(), raw.data(), count * sizeof(float));
    }
    return values;
}

Section SegyVolumeFile::read_line(long long first_trace, int length, int stride,
                                  const QString& what) const {
    const int samples = geometry_.samples;
    const std::size_t count = static_cast<std::size_t>(length) * samples;
    std::vector<char> raw(static_cast<std::size_t>(length) * trace_bytes_);
    const int err = segy_read_line(file_, static_cast<int>(first_trace), length, stride, 1,
                                   raw.data(), trace0_, trace_bytes_);
    if (err != SEGY_OK) fail_read(err, what);
    return Section{length, samples, to_floats(raw, count)};
}

Section SegyVolumeFile::read_iline(int iline_index) const {
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    return read_line(geometry_.trace_number(iline_index, 0), geometry_.xline_count(),
                     by_inline ? 1 : geometry_.iline_count(),
                     _("inline %1").arg(geometry_.ilines.at(iline_index)));
}

Section SegyVolumeFile::read_xline(int xline_index) const {
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    return read_line(geometry_.trace_number(0, xline_index), geometry_.iline_count(),
                     by_inline ? geometry_.xline_count() : 1,
                     _("crossline %1").arg(geometry_.xlines.at(xline_index)));
}

Section SegyVolumeFile::read_depth(int sample_index) const {
    if (sample_index < 0 || sample_index >= geometry_.samples)
        throw utils::LookupError("sample index out of range");
    const int elem = trace_bytes_ / geometry_.samples;
    const int il_count = geometry_.iline_count();
    const int xl_count = geometry_.xline_count();
    const std::size_t count = static_cast<std::size_t>(il_count) * xl_count;
    std::vector<char> raw(count * elem);
    // Read in file order, so the operating system's read-ahead helps; stored inline-major.
    const bool by_inline = geometry_.sorting == SegyGeometry::Sorting::inline_sorted;
    for (std::size_t trace = 0; trace < count; ++trace) {
        const std::size_t il = by_inline ? trace / xl_count : trace % il_count;
        const std::size_t xl = by_inline ? trace % xl_count : trace / il_count;
        const int err = segy_readsubtr(
            file_, static_cast<int>(trace), sample_index, sample_index + 1, 1,
            raw.data() + (il * xl_count + xl) * elem, nullptr, trace0_, trace_bytes_);
        if (err != SEGY_OK)
            fail_read(err, _("the time slice at %1 ms").arg(geometry_.time_at(sample_index)));
    }
    return Section{il_count, xl_count, to_floats(raw, count)};
}

std::vector<float> SegyVolumeFile::read_trace(int iline_index, int xline_index) const {
    const auto trace = geometry_.trace_number(iline_index, xline_index);
    std::vector<char> raw(trace_bytes_);
    const int err =
        segy_readtrace(file_, static_cast<int>(trace), raw.data(), trace0_, trace_bytes_);
    if (err != SEGY_OK)
        fail_read(err, _("the trace at inline %1, crossline %2")
                           .arg(geometry_.ilines.at(iline_index))
                           .arg(geometry_.xlines.at(xline_index)));
    return to_floats(raw, geometry_.samples);
}

AmplitudeStats SegyVolumeFile::amplitude_stats(int max_traces) const {
    const long long traces = geometry_.trace_count();
    const long long used = std::min<long long>(traces, std::max(1, max_traces));
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(used) * geometry_.samples);
    std::vector<char> raw(trace_bytes_);
    for (long long i = 0; i < used; ++i) {
        const long long trace = i * traces / used;
        const int err =
            segy_readtrace(file_, static_cast<int>(trace), raw.data(), trace0_, trace_bytes_);
        if (err != SEGY_OK) fail_read(err, _("trace %1").arg(trace + 1));
        const auto floats = to_floats(raw, geometry_.samples);
        values.insert(values.end(), floats.begin(), floats.end());
    }
    return AmplitudeStats::of(std::move(values), used < traces);
}

}  // namespace korvex::seismic
