#include "korvex/seismic/live_outline.h"

#include <cstddef>

namespace korvex::seismic {

namespace {

// Positions with a trace, row by row, with a dead border all round: every boundary then
// lies between two cells of the mask.
class LiveMask {
public:
    LiveMask(int ilines, int xlines, const std::function<bool(int, int)>& has_trace)
        : xlines_(xlines), live_(std::size_t(ilines + 2) * (xlines + 2), 0) {
        for (int i = 0; i < ilines; ++i)
            for (int x = 0; x < xlines; ++x) live_[at(i, x)] = has_trace(i, x) ? 1 : 0;
    }

    // Outside the grid nothing is live.
    bool live(int i, int x) const { return live_[at(i, x)] != 0; }

private:
    std::size_t at(int i, int x) const { return std::size_t(i + 1) * (xlines_ + 2) + (x + 1); }

    int xlines_;
    std::vector<char> live_;
};

// Runs of edges along one family of grid lines: `across` counts the lines (the edge
// before position `line`), `along` the cells on each; `boundary(line, cell)` tells whether
// the edge is one.
template <typename Boundary, typename Emit>
void runs(int across, int along, Boundary boundary, Emit emit) {
    for (int line = 0; line <= across; ++line) {
        int start = -1;
        for (int cell = 0; cell <= along; ++cell) {
            const bool edge = cell < along && boundary(line, cell);
            if (edge && start < 0) start = cell;
            if (!edge && start >= 0) {
                emit(line - 0.5, start - 0.5, cell - 0.5);
                start = -1;
            }
        }
    }
}

}  // namespace

std::vector<OutlineSegment> live_outline(int iline_count, int xline_count,
                                         const std::function<bool(int, int)>& has_trace) {
    std::vector<OutlineSegment> segments;
    if (iline_count < 1 || xline_count < 1) return segments;
    const LiveMask mask(iline_count, xline_count, has_trace);
    // Edges between neighbouring inlines, running along the crosslines.
    runs(
        iline_count, xline_count,
        [&](int i, int x) { return mask.live(i - 1, x) != mask.live(i, x); },
        [&](double i, double x0, double x1) {
            segments.push_back({i, x0, i, x1});
        });
    // Edges between neighbouring crosslines, running along the inlines.
    runs(
        xline_count, iline_count,
        [&](int x, int i) { return mask.live(i, x - 1) != mask.live(i, x); },
        [&](double x, double i0, double i1) {
            segments.push_back({i0, x, i1, x});
        });
    return segments;
}

}  // namespace korvex::seismic
