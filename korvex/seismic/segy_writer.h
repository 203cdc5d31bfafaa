#pragma once

#include <QString>
#include <vector>

#include "korvex/seismic/cdp_coordinates.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/seismic_export.h"

struct segy_file_handle;

namespace korvex::seismic {

// Writes a SEG-Y file trace by trace, in the order the caller gives: the demo survey
// and the tests make their volumes with it. Failures throw utils::ValueError.
class KORVEX_SEISMIC_EXPORT SegyWriter final {
public:
    // `format` is a SEG-Y sample format code (1 IBM float, 2/3/8 integers, 5 IEEE float).
    SegyWriter(const QString& path, int samples, int format, int interval_us,
               SegyHeaderBytes bytes = {}, CoordinateBytes coordinates = {});
    ~SegyWriter();
    SegyWriter(const SegyWriter&) = delete;
    SegyWriter& operator=(const SegyWriter&) = delete;

    // Integer formats round the values. `values` must hold one value per sample; `cdp`
    // goes to the coordinate bytes given at construction.
    void write_trace(int iline, int xline, const std::vector<float>& values, int delay_ms = 0,
                     CdpCoordinates cdp = {});
    // Flushes and closes; a failure here means the file is incomplete.
    void close();

private:
    [[noreturn]] void fail(const QString& what) const;

    QString path_;
    SegyHeaderBytes bytes_;
    CoordinateBytes coordinates_;
    segy_file_handle* file_ = nullptr;
    int samples_;
    int format_;
    int interval_us_;
    long trace0_ = 0;
    int trace_bytes_;
    int traces_ = 0;
};

}  // namespace korvex::seismic
