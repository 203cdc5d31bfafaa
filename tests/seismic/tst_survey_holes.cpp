#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <set>

#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/segy_writer.h"
#include "tests/support/test_main.h"

using korvex::seismic::SectionCache;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyGeometry;
using korvex::seismic::SegyVolumeFile;

namespace {

using Position = std::pair<int, int>;  // inline, crossline

// A survey as shot: its traces' line numbers in file order.
struct Shot {
    std::vector<Position> traces;
    std::vector<int> ilines;  // the grid the file must open on
    std::vector<int> xlines;
    bool by_inline = true;
    bool sorted = true;
};

constexpr int SAMPLES = 7;

// Every sample tells where it belongs, whatever the reads get wrong.
float amplitude(Position at, int sample) {
    return float(at.first) * 1000.0f + float(at.second) + float(sample) / 64.0f;
}

std::vector<int> numbers(int first, int last, int step = 1) {
    std::vector<int> result;
    for (int n = first; n <= last; n += step) result.push_back(n);
    return result;
}

// The grid's traces where `live` says, inline by inline or crossline by crossline.
Shot shoot(const std::vector<int>& ilines, const std::vector<int>& xlines, bool by_inline,
           const std::function<bool(int, int)>& live) {
    Shot shot{{}, ilines, xlines, by_inline};
    for (const int slow : by_inline ? ilines : xlines)
        for (const int fast : by_inline ? xlines : ilines) {
            const Position at = by_inline ? Position{slow, fast} : Position{fast, slow};
            if (live(at.first, at.second)) shot.traces.push_back(at);
        }
    return shot;
}

}  // namespace

Q_DECLARE_METATYPE(Shot)

class SurveyHolesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    // Grids of more than a block of the cache and of its transpose in each direction, sizes
    // not multiples of them.
    void every_read_puts_each_trace_at_its_lines_data() {
        QTest::addColumn<Shot>("shot");
        const auto il = numbers(1, 70);
        const auto xl = numbers(1, 45);
        QTest::newRow("missing corner")
            << shoot(il, xl, true, [](int i, int x) { return i <= 50 || x <= 30; });
        QTest::newRow("ragged land survey") << shoot(
            il, xl, true, [](int i, int x) { return x >= 1 + i * 7 % 9 && x <= 45 - i * 5 % 11; });
        QTest::newRow("first inline a single trace")
            << shoot(il, xl, true, [](int i, int x) { return i > 1 || x == 20; });
        QTest::newRow("inlines 41-43 never shot") << shoot(
            numbers(1, 80), numbers(1, 40), true, [](int i, int) { return i < 41 || i > 43; });
        QTest::newRow("dead traces, crossline-sorted")
            << shoot(il, xl, false, [](int i, int x) { return (i * 45 + x) % 13 != 5; });
        Shot unsorted = shoot(il, xl, true, [](int i, int x) { return i <= 50 || x <= 30; });
        std::shuffle(unsorted.traces.begin(), unsorted.traces.end(), std::mt19937(7));
        unsorted.sorted = false;
        QTest::newRow("unsorted") << unsorted;
        Shot full = shoot(il, xl, false, [](int, int) { return true; });
        std::shuffle(full.traces.begin(), full.traces.end(), std::mt19937(8));
        full.sorted = false;
        QTest::newRow("unsorted without holes") << full;
        // Opening reads the headers a few megabytes at a time: lines run across those reads.
        QTest::newRow("more traces than one header read")
            << shoot(numbers(1, 170), numbers(1, 130), true,
                     [](int i, int x) { return x >= 1 + i % 9 && x <= 130 - i % 7; });
        QTest::newRow("step 2 numbering")
            << shoot(numbers(2001, 2139, 2), numbers(-30, 60, 3), true,
                     [](int i, int x) { return (i + x) % 7 != 0; });
        // Padding traces leave their line numbers at zero: off the grid, unless it holds zero.
        Shot padded = shoot(il, xl, true, [](int i, int x) { return i <= 50 || x <= 30; });
        padded.traces.insert(padded.traces.end(), 3, Position{0, 0});
        QTest::newRow("padding traces without line numbers") << padded;
        QTest::newRow("numbered from zero") << shoot(numbers(0, 20), numbers(0, 30), true,
                                                     [](int i, int x) { return x > 0 || i == 0; });
    }
    void every_read_puts_each_trace_at_its_lines() {
        QFETCH(Shot, shot);
        const QString path = dir_.filePath(QTest::currentDataTag()) + ".sgy";
        korvex::seismic::SegyWriter writer(path, SAMPLES, 5, 4000);
        for (const Position& at : shot.traces) {
            std::vector<float> values(SAMPLES);
            for (int s = 0; s < SAMPLES; ++s) values[s] = amplitude(at, s);
            writer.write_trace(at.first, at.second, values);
        }
        writer.close();

        const SegyVolumeFile volume(path);
        const SegyGeometry& g = volume.geometry();
        QCOMPARE(g.ilines, shot.ilines);
        QCOMPARE(g.xlines, shot.xlines);
        const auto on_grid = [&](Position at) {
            return std::count(shot.ilines.begin(), shot.ilines.end(), at.first) &&
                   std::count(shot.xlines.begin(), shot.xlines.end(), at.second);
        };
        QCOMPARE(g.live_trace_count(),
                 qint64(std::count_if(shot.traces.begin(), shot.traces.end(), on_grid)));
        QCOMPARE(g.position_count(), qint64(shot.ilines.size() * shot.xlines.size()));
        QCOMPARE(g.sorted, shot.sorted);
        if (shot.sorted)
            QCOMPARE(g.sorting == SegyGeometry::Sorting::inline_sorted, shot.by_inline);

        const std::set<Position> live(shot.traces.begin(), shot.traces.end());
        const auto expected = [&](int il, int xl, int sample) {
            const Position at{g.ilines[il], g.xlines[xl]};
            return live.count(at) ? amplitude(at, sample) : std::numeric_limits<float>::quiet_NaN();
        };
        // Bit for bit: a hole is the quiet NaN, never a zero.
        const auto same = [](const std::vector<float>& a, const std::vector<float>& b) {
            return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * 4) == 0;
        };
        const auto cache =
            SectionCache::build(volume, dir_.filePath(QTest::currentDataTag()) + ".cache");
        for (const SectionKind kind :
             {SectionKind::iline, SectionKind::xline, SectionKind::depth}) {
            for (int index = 0; index < g.section_count(kind); ++index) {
                std::vector<float> want(g.section_size(kind));
                for (int row = 0; row < g.section_rows(kind); ++row)
                    for (int column = 0; column < g.section_columns(kind); ++column)
                        want[std::size_t(row) * g.section_columns(kind) + column] =
                            kind == SectionKind::iline   ? expected(index, row, column)
                            : kind == SectionKind::xline ? expected(row, index, column)
                                                         : expected(row, column, index);
                QVERIFY2(same(volume.read(kind, index).values, want),
                         qPrintable(QString("file, %1 %2").arg(int(kind)).arg(index)));
                QVERIFY2(same(cache->read(kind, index).values, want),
                         qPrintable(QString("cache, %1 %2").arg(int(kind)).arg(index)));
            }
        }
        for (int il = 0; il < g.iline_count(); ++il)
            for (int xl = 0; xl < g.xline_count(); ++xl) {
                std::vector<float> want(SAMPLES);
                for (int s = 0; s < SAMPLES; ++s) want[s] = expected(il, xl, s);
                QVERIFY(same(volume.read_trace(il, xl), want));
                QCOMPARE(g.has_trace(il, xl), bool(live.count({g.ilines[il], g.xlines[xl]})));
            }
    }
};

KORVEX_TEST_GUILESS_MAIN(SurveyHolesTest)
#include "tst_survey_holes.moc"
