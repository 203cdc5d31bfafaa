#include "korvex/seismic/line_number_scan.h"

#include <QStringList>
#include <algorithm>
#include <numeric>

#include "korvex/config/base.h"
#include "korvex/seismic/trace_header_sample.h"

namespace korvex::seismic {

using config::_;

namespace {

// The 4-byte fields of the standard trace header that may hold line numbers; the map
// coordinates (bytes 73 to 88, 181 to 188) never do.
constexpr int FOUR_BYTE_FIELDS[] = {1,  5,  9,  13, 17,  21,  25,  37,  41,  45,  49,
                                    53, 57, 61, 65, 189, 193, 197, 205, 219, 221, 225};

}  // namespace

QString LineGrid::describe() const {
    const QString filled = positions() == traces
                               ? _("every position filled")
                               : _("%1 of %2 positions filled").arg(traces).arg(positions());
    return _("bytes %1 and %2: %3 inlines x %4 crosslines, %5")
        .arg(bytes.iline)
        .arg(bytes.xline)
        .arg(ilines)
        .arg(xlines)
        .arg(filled);
}

LineNumberScan::LineNumberScan(const TraceHeaderSample& sample) : sample_(sample) {}

const std::vector<SegyHeaderBytes>& LineNumberScan::usual_pairs() {
    static const std::vector<SegyHeaderBytes> pairs{{189, 193}, {9, 21},    {5, 21},
                                                    {17, 13},   {221, 225}, {13, 17}};
    return pairs;
}

LineNumberScan::Field LineNumberScan::field(int byte) const {
    if (const auto known = fields_.find(byte); known != fields_.end()) return known->second;
    std::vector<long long> values(sample_.size());
    Field result;
    for (std::size_t n = 0; n < values.size(); ++n) {
        values[n] = sample_.field(n, byte);
        if (n > 0 && values[n] != values[n - 1]) ++result.changes;
    }
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    long long step = 0;
    for (std::size_t n = 1; n < values.size(); ++n)
        step = std::gcd(step, values[n] - values[n - 1]);
    result.lines = values.empty() ? 0 : step == 0 ? 1 : (values.back() - values.front()) / step + 1;
    return fields_[byte] = result;
}

bool LineNumberScan::unique(SegyHeaderBytes bytes) const {
    std::vector<std::pair<int32_t, int32_t>> positions(sample_.size());
    for (std::size_t n = 0; n < positions.size(); ++n)
        positions[n] = {sample_.field(n, bytes.iline), sample_.field(n, bytes.xline)};
    std::sort(positions.begin(), positions.end());
    return std::adjacent_find(positions.begin(), positions.end()) == positions.end();
}

std::optional<LineGrid> LineNumberScan::grid_at(SegyHeaderBytes bytes) const {
    const long long traces = sample_.layout().traces;
    LineGrid grid{bytes, field(bytes.iline).lines, field(bytes.xline).lines, traces};
    if (bytes.iline == bytes.xline || grid.ilines < 2 || grid.xlines < 2) return std::nullopt;
    // A field numbering a line for every trace counts the traces: beside any other field it
    // puts one trace on each position, a pre-stack file's gathers spread by their offsets.
    if (grid.ilines >= traces || grid.xlines >= traces) return std::nullopt;
    // Each bound keeps a sparse pair from the sort that checks for duplicates.
    if (grid.positions() < traces || grid.positions() / MAX_POSITIONS_PER_TRACE > traces)
        return std::nullopt;
    if (!unique(bytes)) return std::nullopt;
    return grid;
}

std::optional<LineGrid> LineNumberScan::best() const {
    std::optional<LineGrid> best;
    const auto consider = [&](SegyHeaderBytes bytes) {
        const auto grid = grid_at(bytes);
        if (grid && (!best || grid->positions() < best->positions())) best = grid;
    };
    for (const SegyHeaderBytes& pair : usual_pairs()) consider(pair);
    for (std::size_t a = 0; a < std::size(FOUR_BYTE_FIELDS); ++a) {
        for (std::size_t b = a + 1; b < std::size(FOUR_BYTE_FIELDS); ++b) {
            const int first = FOUR_BYTE_FIELDS[a];
            const int second = FOUR_BYTE_FIELDS[b];
            const bool first_slower = field(first).changes <= field(second).changes;
            consider(first_slower ? SegyHeaderBytes{first, second}
                                  : SegyHeaderBytes{second, first});
        }
    }
    return best;
}

QString LineNumberScan::tried() const {
    QStringList pairs;
    for (const SegyHeaderBytes& pair : usual_pairs())
        pairs << _("%1 and %2").arg(pair.iline).arg(pair.xline);
    return _("tried bytes %1, and every pair of the 4-byte fields at bytes %2, over %3 traces "
             "spread over the file")
        .arg(pairs.join(QStringLiteral(", ")))
        .arg([] {
            QStringList bytes;
            for (const int byte : FOUR_BYTE_FIELDS) bytes << QString::number(byte);
            return bytes.join(QStringLiteral(", "));
        }())
        .arg(sample_.size());
}

}  // namespace korvex::seismic
