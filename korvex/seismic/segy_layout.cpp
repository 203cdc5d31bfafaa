#include "korvex/seismic/segy_layout.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "korvex/config/base.h"
#include "korvex/seismic/sample_format.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Binary header fields, as offsets into the 3600 bytes of file headers.
constexpr int INTERVAL = 3216;
constexpr int SAMPLES = 3220;
constexpr int FORMAT = 3224;
constexpr int EXTENDED_SAMPLES = 3268;
constexpr int EXTENDED_INTERVAL = 3272;
constexpr int ORDER_FIELD = 3296;
constexpr int REVISION = 3500;
constexpr int EXTENDED_TEXT_HEADERS = 3504;
constexpr int HEADER_EXTENSIONS = 3506;
constexpr int TRACE_COUNT = 3512;
// Trace header fields (1-based bytes).
constexpr int TRACE_SAMPLES = 115;
constexpr int TRACE_INTERVAL = 117;
// Revision 2 writes 16909060 (0x01020304) at ORDER_FIELD in the file's byte order.
constexpr uint32_t ORDER_MARK = 0x01020304u;
constexpr uint32_t SWAPPED_ORDER_MARK = 0x04030201u;

uint64_t load(const char* source, int size, bool little_endian) {
    uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        const int at = little_endian ? size - 1 - i : i;
        value = value << 8 | static_cast<unsigned char>(source[at]);
    }
    return value;
}

[[noreturn]] void fail(const QString& path, const QString& what) {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path, what).toStdString());
}

}  // namespace

long long SegyLayout::integer(const char* block, int byte, int size) const {
    const uint64_t raw = load(block + byte - 1, size, little_endian);
    switch (size) {
        case 1:
            return int8_t(raw);
        case 2:
            return int16_t(raw);
        case 4:
            return int32_t(raw);
        default:
            return static_cast<long long>(raw);
    }
}

double SegyLayout::real(const char* block, int byte) const {
    const uint64_t bits = load(block + byte - 1, 8, little_endian);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int SegyLayout::sample_size() const { return sample_format::size_of(format); }

SegyLayout SegyLayout::read(const QString& path, Fit fit) {
    const QFileInfo info(path);
    if (!info.exists()) fail(path, _("no such file"));
    if (!info.isFile()) fail(path, _("not a regular file"));
    SegyLayout layout;
    layout.file_size = info.size();
    if (layout.file_size < HEADERS_SIZE + TRACE_HEADER_SIZE)
        fail(path, _("not a SEG-Y file: %1 bytes, fewer than the SEG-Y headers and one trace take")
                       .arg(layout.file_size));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(path, _("cannot be opened for reading"));
    const QByteArray headers = file.read(HEADERS_SIZE + TRACE_HEADER_SIZE);
    if (headers.size() != HEADERS_SIZE + TRACE_HEADER_SIZE)
        fail(path, _("the file headers cannot be read"));
    const char* h = headers.constData();

    layout.little_endian = load(h + ORDER_FIELD, 4, false) == SWAPPED_ORDER_MARK;
    // Little-endian files written before revision 2 have no byte-order field: their format
    // code reads as a number of hundreds big-endian, and as a known code the other way.
    if (!sample_format::is_supported(int(load(h + FORMAT, 2, false))) &&
        sample_format::is_supported(int(load(h + FORMAT, 2, true))))
        layout.little_endian = true;
    const auto bin = [&](int offset, int size) {
        return load(h + offset, size, layout.little_endian);
    };
    layout.revision = int(bin(REVISION, 1));
    layout.format = int(bin(FORMAT, 2));
    if (!sample_format::is_supported(layout.format))
        fail(path, _("not a SEG-Y file, or one with an unsupported sample format: the binary "
                     "header gives sample format code %1 (readable: %2)")
                       .arg(layout.format)
                       .arg(sample_format::supported_text()));

    const char* trace_header = h + HEADERS_SIZE;
    const bool revision2 = layout.revision >= 2;
    // Sample counts are unsigned 2-byte fields; revision 2 has a 4-byte one beside.
    long long samples = revision2 ? int32_t(bin(EXTENDED_SAMPLES, 4)) : 0;
    if (samples <= 0) samples = bin(SAMPLES, 2);
    if (samples <= 0) samples = load(trace_header + TRACE_SAMPLES - 1, 2, layout.little_endian);
    if (samples <= 0)
        fail(path,
             _("zero samples per trace in both the binary header and the first trace header"));

    double interval = 0.0;
    if (revision2) {
        const uint64_t bits = bin(EXTENDED_INTERVAL, 8);
        std::memcpy(&interval, &bits, sizeof interval);
        if (!(interval > 0.0 && interval < 1e9)) interval = 0.0;
    }
    if (interval <= 0.0) interval = double(bin(INTERVAL, 2));
    if (interval <= 0.0)
        interval = double(load(trace_header + TRACE_INTERVAL - 1, 2, layout.little_endian));
    layout.interval = interval;

    layout.extended_text_headers = int16_t(bin(EXTENDED_TEXT_HEADERS, 2));
    if (layout.extended_text_headers < 0)
        fail(path, _("the binary header announces a variable number of extended textual "
                     "headers, which korvex cannot read"));
    layout.header_extensions = revision2 ? int(int32_t(bin(HEADER_EXTENSIONS, 4))) : 0;
    if (layout.header_extensions < 0 || layout.header_extensions > 1000)
        fail(path, _("the binary header announces %1 trace header extensions")
                       .arg(layout.header_extensions));
    layout.trace0 =
        HEADERS_SIZE + static_cast<long long>(layout.extended_text_headers) * TEXT_HEADER_SIZE;
    if (layout.trace0 + TRACE_HEADER_SIZE > layout.file_size)
        fail(path, _("the binary header announces %1 extended textual headers, which with the "
                     "file headers take %2 bytes of a file of %3")
                       .arg(layout.extended_text_headers)
                       .arg(layout.trace0)
                       .arg(layout.file_size));
    layout.samples = int(std::min<long long>(samples, 1 << 30));
    const long long stride = layout.trace_stride();
    const long long data_bytes = layout.file_size - layout.trace0;
    layout.traces = data_bytes / stride;
    if (fit == Fit::whole_traces) return layout;
    if (stride > data_bytes)
        fail(path, _("%1 samples per trace is impossible: one trace would need %2 bytes, the file "
                     "holds %3 after its headers")
                       .arg(samples)
                       .arg(stride)
                       .arg(data_bytes));
    if (data_bytes % stride != 0)
        fail(path, _("truncated, or the sample count is wrong: the file's %1 bytes hold %2 bytes "
                     "of headers and %3 bytes of traces, which is not a whole number of %4-byte "
                     "traces of %5 samples (%6 traces and %7 bytes over)")
                       .arg(layout.file_size)
                       .arg(layout.trace0)
                       .arg(data_bytes)
                       .arg(stride)
                       .arg(samples)
                       .arg(data_bytes / stride)
                       .arg(data_bytes % stride));
    const long long announced = revision2 ? static_cast<long long>(bin(TRACE_COUNT, 8)) : 0;
    if (announced > 0 && announced != layout.traces)
        fail(path, _("the binary header announces %1 traces, but the file's %2 bytes hold %3 "
                     "traces of %4 bytes after %5 bytes of headers")
                       .arg(announced)
                       .arg(layout.file_size)
                       .arg(layout.traces)
                       .arg(stride)
                       .arg(layout.trace0));
    return layout;
}

}  // namespace korvex::seismic
