#include "korvex/seismic/segy_writer.h"

#include <segyio/segy.h>

#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

template <typename T>
void narrow(const std::vector<float>& values, std::vector<char>& raw) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        const T value = static_cast<T>(std::lround(values[i]));
        std::memcpy(raw.data() + i * sizeof(T), &value, sizeof(T));
    }
}

std::vector<char> text_header() {
    std::vector<char> text(SEGY_TEXT_HEADER_SIZE + 1, ' ');
    const char* lines[] = {"C 1 KORVEX SEG-Y VOLUME",
                           "C 2 INLINE AND CROSSLINE NUMBERS IN THE TRACE HEADERS"};
    for (int row = 0; row < 2; ++row)
        std::memcpy(text.data() + row * 80, lines[row], std::strlen(lines[row]));
    text.back() = '\0';
    return text;
}

}  // namespace

SegyWriter::SegyWriter(const QString& path, int samples, int format, int interval_us,
                       SegyHeaderBytes bytes, CoordinateBytes coordinates)
    : path_(path),
      bytes_(bytes),
      coordinates_(coordinates),
      samples_(samples),
      format_(format),
      interval_us_(interval_us),
      trace_bytes_(segy_trsize(format, samples)) {
    if (trace_bytes_ <= 0) fail(_("unsupported sample format %1").arg(format));
    file_ = segy_open(QFile::encodeName(path).constData(), "w+b");
    if (!file_) fail(_("cannot be created"));

    std::vector<char> binary(segy_binheader_size(), 0);
    segy_set_bfield(binary.data(), SEGY_BIN_INTERVAL, interval_us);
    segy_set_bfield(binary.data(), SEGY_BIN_SAMPLES, samples);
    segy_set_bfield(binary.data(), SEGY_BIN_FORMAT, format);
    segy_set_bfield(binary.data(), SEGY_BIN_SEGY_REVISION, 0x0100);
    segy_set_bfield(binary.data(), SEGY_BIN_TRACE_FLAG, 1);
    const auto text = text_header();
    if (segy_write_textheader(file_, 0, text.data()) != SEGY_OK ||
        segy_write_binheader(file_, binary.data()) != SEGY_OK)
        fail(_("cannot write the file headers"));
    segy_set_format(file_, format);
    trace0_ = segy_trace0(binary.data());
}

SegyWriter::~SegyWriter() {
    if (file_) segy_close(file_);
}

void SegyWriter::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

void SegyWriter::write_trace(int iline, int xline, const std::vector<float>& values, int delay_ms,
                             CdpCoordinates cdp) {
    if (static_cast<int>(values.size()) != samples_)
        throw utils::ValueError("a trace needs exactly one value per sample");
    char header[SEGY_TRACE_HEADER_SIZE] = {};
    segy_set_field(header, SEGY_TR_SEQ_LINE, traces_ + 1);
    segy_set_field(header, SEGY_TR_SEQ_FILE, traces_ + 1);
    segy_set_field(header, SEGY_TR_DELAY_REC_TIME, delay_ms);
    segy_set_field(header, SEGY_TR_SAMPLE_COUNT, samples_);
    segy_set_field(header, SEGY_TR_SAMPLE_INTER, interval_us_);
    segy_set_field(header, bytes_.iline, iline);
    segy_set_field(header, bytes_.xline, xline);
    segy_set_field(header, coordinates_.x, cdp.x);
    segy_set_field(header, coordinates_.y, cdp.y);
    segy_set_field(header, SEGY_TR_SOURCE_GROUP_SCALAR, cdp.scalar);

    std::vector<char> raw(trace_bytes_);
    switch (format_) {
        case SEGY_SIGNED_INTEGER_4_BYTE:
            narrow<int32_t>(values, raw);
            break;
        case SEGY_SIGNED_SHORT_2_BYTE:
            narrow<int16_t>(values, raw);
            break;
        case SEGY_SIGNED_CHAR_1_BYTE:
            narrow<int8_t>(values, raw);
            break;
        default:
            std::memcpy(raw.data(), values.data(), values.size() * sizeof(float));
    }
    segy_from_native(format_, samples_, raw.data());
    if (segy_write_traceheader(file_, traces_, header, trace0_, trace_bytes_) != SEGY_OK ||
        segy_writetrace(file_, traces_, raw.data(), trace0_, trace_bytes_) != SEGY_OK)
        fail(_("cannot write trace %1").arg(traces_ + 1));
    ++traces_;
}

void SegyWriter::close() {
    const int err = segy_close(file_);
    file_ = nullptr;
    if (err != SEGY_OK) fail(_("cannot finish writing the file"));
}

}  // namespace korvex::seismic
