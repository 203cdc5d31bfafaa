#pragma once

#include <segyio/segy.h>

#include <QString>
#include <functional>
#include <vector>

#include "korvex/seismic/segy_writer.h"

// Small SEG-Y volumes written for the tests, whose every value is known.
namespace korvex::testing {

struct VolumeLayout {
    std::vector<int> ilines{10, 11, 12, 13};
    std::vector<int> xlines{20, 21, 22, 23, 24};
    int samples = 6;
    int format = SEGY_IEEE_FLOAT_4_BYTE;
    bool inline_sorted = true;
    int interval_us = 4000;
    int delay_ms = 0;
    korvex::seismic::SegyHeaderBytes bytes{};
    korvex::seismic::CoordinateBytes coordinates{};
    // The CDP coordinates of each trace, by line numbers; none by default.
    std::function<korvex::seismic::CdpCoordinates(int iline, int xline)> cdp;
    // The positions left without a trace (holes), by line numbers; none by default.
    std::function<bool(int iline, int xline)> hole;

    korvex::seismic::SegyVariant variant{};
    // Lines of the textual header; korvex's own when empty.
    QStringList text;

    // Distinct small values, exact in every format (integers fit int8, unsigned ones uint8).
    float value(int il_index, int xl_index, int sample) const {
        const int base = (il_index * 31 + xl_index * 7 + sample * 3) % 101 - 50;
        const bool real = format == 1 || format == 5 || format == 6;
        const bool is_unsigned = format >= 10;
        return real ? base + 0.25f : is_unsigned ? float(base + 50) : float(base);
    }

    std::vector<float> trace(int il_index, int xl_index) const {
        std::vector<float> values(samples);
        for (int s = 0; s < samples; ++s) values[s] = value(il_index, xl_index, s);
        return values;
    }
};

// A survey with non-unit, partly descending line numbers and a delay: the geometry
// that catches index/number mix-ups.
inline VolumeLayout irregular_survey(int samples) {
    VolumeLayout layout;
    layout.ilines = {200, 205, 210, 215, 220};
    layout.xlines = {7, 6, 5, 4};
    layout.samples = samples;
    layout.delay_ms = 100;
    layout.interval_us = 2000;
    return layout;
}

// 100 x 100 traces: more than opening checks, so a trace out of place between the
// checked ones passes the quick check and only the full one finds it.
inline VolumeLayout large_survey() {
    VolumeLayout layout;
    layout.ilines.clear();
    layout.xlines.clear();
    for (int i = 0; i < 100; ++i) layout.ilines.push_back(500 + 2 * i);
    for (int i = 0; i < 100; ++i) layout.xlines.push_back(1000 + 4 * i);
    layout.samples = 3;
    return layout;
}

// large_survey() with traces 5002 and 5004 (counting from 1) swapped: odd positions,
// between the ones that opening checks.
inline void write_swapped_survey(const QString& path) {
    const VolumeLayout layout = large_survey();
    korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, layout.interval_us);
    for (int il = 0; il < 100; ++il) {
        for (int xl = 0; xl < 100; ++xl) {
            const bool swapped = il == 50 && (xl == 1 || xl == 3);
            writer.write_trace(layout.ilines[il], layout.xlines[swapped ? 4 - xl : xl],
                               layout.trace(il, xl));
        }
    }
    writer.close();
}

inline void write_volume(const QString& path, const VolumeLayout& layout) {
    korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, layout.interval_us,
                                       layout.bytes, layout.coordinates, layout.variant,
                                       layout.text);
    const int slow = int(layout.inline_sorted ? layout.ilines.size() : layout.xlines.size());
    const int fast = int(layout.inline_sorted ? layout.xlines.size() : layout.ilines.size());
    for (int i = 0; i < slow; ++i) {
        for (int j = 0; j < fast; ++j) {
            const int il = layout.inline_sorted ? i : j;
            const int xl = layout.inline_sorted ? j : i;
            if (layout.hole && layout.hole(layout.ilines[il], layout.xlines[xl])) continue;
            const auto cdp = layout.cdp ? layout.cdp(layout.ilines[il], layout.xlines[xl])
                                        : korvex::seismic::CdpCoordinates{};
            writer.write_trace(layout.ilines[il], layout.xlines[xl], layout.trace(il, xl),
                               layout.delay_ms, cdp);
        }
    }
    writer.close();
}

}  // namespace korvex::testing
