#include "korvex/seismic/trace_positions.h"

#include <segyio/segy.h>

#include <QFile>
#include <cstdint>

#include "korvex/config/base.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

std::vector<TracePosition> read_trace_positions(const SegyVolumeFile& file) {
    segy_file_handle* handle = segy_open(QFile::encodeName(file.path()).constData(), "rb");
    const auto fail = [&](const QString& what) {
        throw utils::ValueError(QStringLiteral("%1: %2").arg(file.path(), what).toStdString());
    };
    if (!handle) fail(_("cannot be opened for reading"));
    const long trace0 = long(file.first_trace_offset());
    const int trace_bytes = file.trace_stride() - SEGY_TRACE_HEADER_SIZE;
    const long long traces = file.geometry().trace_count();
    std::vector<TracePosition> positions;
    positions.reserve(std::size_t(traces));
    char header[SEGY_TRACE_HEADER_SIZE];
    for (long long trace = 0; trace < traces; ++trace) {
        if (segy_traceheader(handle, int(trace), header, trace0, trace_bytes) != SEGY_OK) {
            segy_close(handle);
            fail(_("reading the header of trace %1 failed").arg(trace + 1));
        }
        int32_t iline = 0, xline = 0;
        CdpCoordinates cdp;
        segy_get_field(header, file.header_bytes().iline, &iline);
        segy_get_field(header, file.header_bytes().xline, &xline);
        segy_get_field(header, SEGY_TR_CDP_X, &cdp.x);
        segy_get_field(header, SEGY_TR_CDP_Y, &cdp.y);
        segy_get_field(header, SEGY_TR_SOURCE_GROUP_SCALAR, &cdp.scalar);
        positions.push_back({double(iline), double(xline), cdp.scaled(cdp.x), cdp.scaled(cdp.y)});
    }
    segy_close(handle);
    return positions;
}

}  // namespace korvex::seismic
