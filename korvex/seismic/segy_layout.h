#pragma once

#include <QString>
#include <cstdint>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Where a SEG-Y file keeps its traces and how their bytes read, from its binary header:
// byte order, revision, sample format, sample count and interval (revision 2's extended
// fields when set), extended textual headers and trace header extension blocks.
// Reads the first 3600 bytes only; every failure throws utils::ValueError naming the
// file and the sizes that do not fit.
struct KORVEX_SEISMIC_EXPORT SegyLayout {
    static constexpr int TEXT_HEADER_SIZE = 3200;
    static constexpr int BINARY_HEADER_SIZE = 400;
    static constexpr int TRACE_HEADER_SIZE = 240;
    static constexpr int HEADERS_SIZE = TEXT_HEADER_SIZE + BINARY_HEADER_SIZE;

    bool little_endian = false;
    // Revision 2's major revision number (byte 3501); 1 for the revision 1 files we write.
    int revision = 0;
    int format = 0;
    int samples = 0;
    // Microseconds (or the depth unit's millionths); 0 when the headers give none.
    double interval = 0.0;
    int extended_text_headers = 0;
    // Revision 2's 240-byte blocks after each trace header.
    int header_extensions = 0;
    long long trace0 = 0;
    long long traces = 0;
    long long file_size = 0;

    // How the traces must fit the file: exactly, as a volume's must, or as far as they go,
    // for a look at the headers of a file cut short or with bytes to spare.
    enum class Fit { exact, whole_traces };

    static SegyLayout read(const QString& path, Fit fit = Fit::exact);

    int sample_size() const;
    // Bytes from a trace's first header byte to its first sample.
    int sample_offset() const { return TRACE_HEADER_SIZE * (1 + header_extensions); }
    long long trace_stride() const {
        return sample_offset() + static_cast<long long>(samples) * sample_size();
    }
    // A trace header field of `size` bytes at 1-based `byte`, in this file's byte order.
    int32_t field(const char* header, int byte, int size = 4) const {
        return int32_t(integer(header, byte, size));
    }
    // A signed integer of 1, 2, 4 or 8 bytes, or an IEEE double, at 1-based `byte` of
    // `block`, in this file's byte order.
    long long integer(const char* block, int byte, int size) const;
    double real(const char* block, int byte) const;
};

}  // namespace korvex::seismic
