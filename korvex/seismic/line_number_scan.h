#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

class TraceHeaderSample;

// A pair of trace header fields read as line numbers, and the grid they put a file's
// traces on: every line number from the smallest to the largest, in the smallest step.
struct KORVEX_SEISMIC_EXPORT LineGrid {
    SegyHeaderBytes bytes;
    long long ilines = 0;
    long long xlines = 0;
    long long traces = 0;

    long long positions() const { return ilines * xlines; }
    // "bytes 9 and 21: 60 inlines x 70 crosslines, every position filled"
    QString describe() const;
};

// Finds where a file keeps its line numbers: the pair of 4-byte trace header fields that
// puts the sampled traces on the densest grid with one trace per position. The usual
// pairs come first and win ties; then every other 4-byte field of the standard header,
// inline being the one that changes more slowly through the file.
class KORVEX_SEISMIC_EXPORT LineNumberScan final {
public:
    // A grid whose positions outnumber the traces this many times is no grid.
    static constexpr long long MAX_POSITIONS_PER_TRACE = 4;

    explicit LineNumberScan(const TraceHeaderSample& sample);

    static const std::vector<SegyHeaderBytes>& usual_pairs();
    // The grid at these bytes, absent when they give none.
    std::optional<LineGrid> grid_at(SegyHeaderBytes bytes) const;
    std::optional<LineGrid> best() const;
    // What best() looked at, for a message when it finds nothing.
    QString tried() const;

private:
    struct Field {
        long long lines = 0;    // on the grid, 1 for a constant field
        long long changes = 0;  // between neighbouring sampled traces
    };
    Field field(int byte) const;
    bool unique(SegyHeaderBytes bytes) const;

    const TraceHeaderSample& sample_;
    mutable std::map<int, Field> fields_;
};

}  // namespace korvex::seismic
