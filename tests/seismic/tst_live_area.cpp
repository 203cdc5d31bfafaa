#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

#include "korvex/seismic/amplitude_accumulator.h"
#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/live_outline.h"
#include "tests/support/test_main.h"

using korvex::seismic::AmplitudeAccumulator;
using korvex::seismic::AmplitudeStats;
using korvex::seismic::live_outline;
using korvex::seismic::OutlineSegment;

namespace {

using Segments = std::vector<OutlineSegment>;

// Rows are inlines, columns crosslines; '#' holds a trace.
Segments outline_of(const std::vector<const char*>& rows) {
    const int xlines = int(std::strlen(rows.front()));
    Segments found = live_outline(int(rows.size()), xlines,
                                  [&](int i, int x) { return rows[std::size_t(i)][x] == '#'; });
    const auto order = [](const OutlineSegment& a, const OutlineSegment& b) {
        return std::tie(a.iline0, a.xline0, a.iline1, a.xline1) <
               std::tie(b.iline0, b.xline0, b.iline1, b.xline1);
    };
    std::sort(found.begin(), found.end(), order);
    return found;
}

void compare_figures(const AmplitudeStats& with_holes, const AmplitudeStats& without) {
    QCOMPARE(with_holes.min, without.min);
    QCOMPARE(with_holes.max, without.max);
    QCOMPARE(with_holes.rms, without.rms);
    QCOMPARE(with_holes.clip, without.clip);
    QCOMPARE(with_holes.histogram, without.histogram);
}

}  // namespace

class LiveAreaTest : public QObject {
    Q_OBJECT

private slots:
    // An L of traces and a hole in a full block: each straight run of the boundary is one
    // segment on the cells' edges, corners where the L turns.
    void the_outline_follows_the_edges_of_the_live_cells() {
        QCOMPARE(outline_of({"###", "#..", "#.."}), (Segments{{-0.5, -0.5, -0.5, 2.5},
                                                              {-0.5, -0.5, 2.5, -0.5},
                                                              {-0.5, 2.5, 0.5, 2.5},
                                                              {0.5, 0.5, 0.5, 2.5},
                                                              {0.5, 0.5, 2.5, 0.5},
                                                              {2.5, -0.5, 2.5, 0.5}}));
        QCOMPARE(outline_of({"###", "#.#", "###"}).size(), std::size_t(8));
        QVERIFY(outline_of({"...", "..."}).empty());
    }

    // A hole is no sample: the figures of a volume with holes are those of its traces.
    void holes_leave_the_amplitude_figures_unchanged() {
        std::vector<float> traces;
        for (int i = 0; i < 4000; ++i) traces.push_back(float(std::sin(i * 0.37) * (1 + i % 7)));
        std::vector<float> with_holes = traces;
        for (std::size_t at = 0; at <= with_holes.size(); at += 300)
            with_holes.insert(with_holes.begin() + std::ptrdiff_t(at), 50,
                              std::numeric_limits<float>::quiet_NaN());

        compare_figures(AmplitudeStats::of(with_holes, false), AmplitudeStats::of(traces, false));
        AmplitudeAccumulator all, live;
        all.add(with_holes.data(), with_holes.size());
        live.add(traces.data(), traces.size());
        compare_figures(all.stats(), live.stats());
    }
};

KORVEX_TEST_GUILESS_MAIN(LiveAreaTest)
#include "tst_live_area.moc"
