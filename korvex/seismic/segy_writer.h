#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

#include "korvex/seismic/cdp_coordinates.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// How a written file departs from a revision 1, big-endian file with an EBCDIC header.
struct SegyVariant {
    int revision = 1;
    // Revision 2 only, announced by its byte-order field.
    bool little_endian = false;
    // Revision 2's 240-byte blocks after each trace header.
    int header_extensions = 0;
    int extended_text_headers = 0;
    bool ascii_text = false;
};

// Writes a SEG-Y file trace by trace, in the order the caller gives: the demo survey
// and the tests make their volumes with it. Failures throw utils::ValueError.
class KORVEX_SEISMIC_EXPORT SegyWriter final {
public:
    // `format` is a SEG-Y sample format code (see sample_format::is_supported). `text`
    // gives the lines of the textual header in place of korvex's own.
    SegyWriter(const QString& path, int samples, int format, int interval_us,
               SegyHeaderBytes bytes = {}, CoordinateBytes coordinates = {},
               SegyVariant variant = {}, const QStringList& text = {});
    SegyWriter(const SegyWriter&) = delete;
    SegyWriter& operator=(const SegyWriter&) = delete;

    // Integer formats round the values. `values` must hold one value per sample; `cdp`
    // goes to the coordinate bytes given at construction.
    void write_trace(int iline, int xline, const std::vector<float>& values, int delay_ms = 0,
                     CdpCoordinates cdp = {});
    // Flushes and closes; a failure here means the file is incomplete.
    void close();

private:
    void write(const QByteArray& bytes);
    // `value` as a `size`-byte word at 1-based `byte` of `block`, in the file's byte order.
    void put(QByteArray& block, int byte, unsigned long long value, int size) const;
    [[noreturn]] void fail(const QString& what) const;

    QFile file_;
    SegyHeaderBytes bytes_;
    CoordinateBytes coordinates_;
    SegyVariant variant_;
    int samples_;
    int format_;
    int interval_us_;
    int traces_ = 0;
};

}  // namespace korvex::seismic
