#include "fuzz/entries.h"
#include "fuzz/scratch_file.h"
#include "korvex/seismic/line_number_scan.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/trace_header_sample.h"
#include "korvex/utils/errors.h"

namespace korvex::fuzz {

void open_segy(const QByteArray& bytes) {
    try {
        const seismic::SegyVolumeFile volume(scratch_file("volume.sgy", bytes));
        const seismic::SegyGeometry& geometry = volume.geometry();
        volume.read_iline(geometry.iline_count() - 1);
        volume.read_xline(0);
        volume.read_depth(geometry.samples / 2);
        volume.read_trace(0, geometry.xline_count() - 1);
        volume.amplitude_stats(16);
    } catch (const utils::ValueError&) {
    }
    // The header scan reads files that do not open as volumes too.
    try {
        const auto sample = seismic::TraceHeaderSample::read(scratch_file("volume.sgy", bytes), 64);
        seismic::LineNumberScan(sample).best();
    } catch (const utils::ValueError&) {
    }
}

}  // namespace korvex::fuzz
