#include "korvex/seismic/segy_writer.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "korvex/config/base.h"
#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/segy_layout.h"
#include "korvex/seismic/textual_header.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Trace header fields (1-based bytes).
constexpr int SEQ_LINE = 1;
constexpr int SEQ_FILE = 5;
constexpr int SCALAR = 71;
constexpr int DELAY = 109;
constexpr int SAMPLE_COUNT = 115;
constexpr int SAMPLE_INTERVAL = 117;
// Binary header fields, counted from the start of the binary header.
constexpr int INTERVAL = 17;
constexpr int SAMPLES = 21;
constexpr int FORMAT = 25;
constexpr int EXTENDED_SAMPLES = 69;
constexpr int EXTENDED_INTERVAL = 73;
constexpr int BYTE_ORDER_MARK = 97;
constexpr int REVISION = 301;
constexpr int FIXED_LENGTH = 303;
constexpr int EXTENDED_TEXT_HEADERS = 305;
constexpr int HEADER_EXTENSIONS = 307;

QByteArray text_header(bool ascii, const QStringList& given) {
    QByteArray text(textual_header::SIZE, ' ');
    const QStringList lines = !given.isEmpty()
                                  ? given
                                  : QStringList{"C 1 KORVEX SEG-Y VOLUME",
                                                "C 2 INLINE AND CROSSLINE NUMBERS IN THE TRACE "
                                                "HEADERS"};
    for (int row = 0;
         row < std::min(int(lines.size()), textual_header::SIZE / textual_header::LINE); ++row) {
        const QByteArray line = lines[row].toLatin1().left(textual_header::LINE);
        text.replace(row * textual_header::LINE, line.size(), line);
    }
    return ascii ? text : textual_header::to_ebcdic(text);
}

// The IBM float nearest `value`: fraction * 16^(exponent - 64), the fraction in [1/16, 1).
uint32_t to_ibm(float value) {
    if (value == 0.0f || !std::isfinite(value)) return 0;
    int exponent = 0;
    const double mantissa = std::frexp(std::fabs(double(value)), &exponent);
    int hex = exponent > 0 ? (exponent + 3) / 4 : -((-exponent) / 4);
    uint64_t fraction = std::llround(std::ldexp(mantissa, 24 + exponent - 4 * hex));
    if (fraction >= (1u << 24)) fraction >>= 4, ++hex;
    const uint32_t sign = value < 0 ? 0x80000000u : 0;
    return sign | uint32_t(hex + 64) << 24 | uint32_t(fraction);
}

// The raw word of a sample in `format`.
unsigned long long encode(int format, float value) {
    // Rounded as a double: llround would cap uint64 samples at the largest signed value.
    const double whole = std::nearbyint(double(value));
    const auto rounded = [whole] { return static_cast<long long>(whole); };
    switch (format) {
        case 1:
            return to_ibm(value);
        case 5: {
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            return bits;
        }
        case 6: {
            const double wide = value;
            uint64_t bits;
            std::memcpy(&bits, &wide, sizeof bits);
            return bits;
        }
        case 2:
            return uint32_t(int32_t(rounded()));
        case 3:
            return uint16_t(int16_t(rounded()));
        case 8:
            return uint8_t(int8_t(rounded()));
        default:  // the unsigned ones
            return static_cast<unsigned long long>(whole);
    }
}

}  // namespace

SegyWriter::SegyWriter(const QString& path, int samples, int format, int interval_us,
                       SegyHeaderBytes bytes, CoordinateBytes coordinates, SegyVariant variant,
                       const QStringList& text)
    : file_(path),
      bytes_(bytes),
      coordinates_(coordinates),
      variant_(variant),
      samples_(samples),
      format_(format),
      interval_us_(interval_us) {
    if (!sample_format::is_supported(format)) fail(_("unsupported sample format %1").arg(format));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail(_("cannot be created"));
    const bool revision2 = variant.revision >= 2;
    QByteArray binary(SegyLayout::BINARY_HEADER_SIZE, '\0');
    put(binary, INTERVAL, interval_us, 2);
    // Revision 1 readers take the count as signed; revision 2 has a 4-byte field beside.
    put(binary, SAMPLES, samples <= 0x7fff || !revision2 ? samples : 0, 2);
    put(binary, FORMAT, format, 2);
    put(binary, REVISION, variant.revision, 1);
    put(binary, FIXED_LENGTH, 1, 2);
    put(binary, EXTENDED_TEXT_HEADERS, variant.extended_text_headers, 2);
    if (revision2) {
        put(binary, EXTENDED_SAMPLES, samples, 4);
        const double interval = interval_us;
        uint64_t bits;
        std::memcpy(&bits, &interval, sizeof bits);
        put(binary, EXTENDED_INTERVAL, bits, 8);
        put(binary, BYTE_ORDER_MARK, 0x01020304u, 4);
        put(binary, HEADER_EXTENSIONS, variant.header_extensions, 4);
    }
    write(text_header(variant.ascii_text, text));
    write(binary);
    for (int n = 0; n < variant.extended_text_headers; ++n)
        write(text_header(variant.ascii_text, {}));
}

void SegyWriter::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(file_.fileName(), what).toStdString());
}

void SegyWriter::write(const QByteArray& bytes) {
    if (file_.write(bytes) != bytes.size()) fail(_("cannot write trace %1").arg(traces_ + 1));
}

void SegyWriter::put(QByteArray& block, int byte, unsigned long long value, int size) const {
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (variant_.little_endian ? i : size - 1 - i);
        block[byte - 1 + i] = char(value >> shift & 0xff);
    }
}

void SegyWriter::write_trace(int iline, int xline, const std::vector<float>& values, int delay_ms,
                             CdpCoordinates cdp) {
    if (static_cast<int>(values.size()) != samples_)
        throw utils::ValueError("a trace needs exactly one value per sample");
    QByteArray header(SegyLayout::TRACE_HEADER_SIZE * (1 + variant_.header_extensions), '\0');
    put(header, SEQ_LINE, traces_ + 1, 4);
    put(header, SEQ_FILE, traces_ + 1, 4);
    put(header, DELAY, uint16_t(delay_ms), 2);
    put(header, SAMPLE_COUNT, samples_ <= 0xffff ? samples_ : 0, 2);
    put(header, SAMPLE_INTERVAL, interval_us_, 2);
    put(header, bytes_.iline, uint32_t(iline), 4);
    put(header, bytes_.xline, uint32_t(xline), 4);
    put(header, coordinates_.x, uint32_t(cdp.x), 4);
    put(header, coordinates_.y, uint32_t(cdp.y), 4);
    put(header, SCALAR, uint16_t(cdp.scalar), 2);
    const int size = sample_format::size_of(format_);
    QByteArray samples(samples_ * size, '\0');
    for (int s = 0; s < samples_; ++s) put(samples, 1 + s * size, encode(format_, values[s]), size);
    write(header);
    write(samples);
    ++traces_;
}

void SegyWriter::close() {
    if (!file_.flush()) fail(_("cannot finish writing the file"));
    file_.close();
}

}  // namespace korvex::seismic
