#include <QTest>

#include "korvex/app/data/survey_frame.h"
#include "korvex/seismic/section.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

using korvex::app::data::SurveyFrame;
using korvex::seismic::Section;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyGeometry;

namespace {

// Inlines 100..106 step 2, crosslines running down 50..44 with a gap, 4 ms from 200 ms.
SegyGeometry geometry() {
    SegyGeometry g;
    g.ilines = {100, 102, 104, 106};
    g.xlines = {50, 49, 48, 45, 44};
    g.samples = 11;
    g.sample_interval_ms = 4.0;
    g.delay_ms = 200.0;
    return g;
}

using Span = std::array<double, 4>;
Span span(const SurveyFrame::Plane& plane) { return {plane.u0, plane.u1, plane.v0, plane.v1}; }

}  // namespace

class SurveyFrameTest : public QObject {
    Q_OBJECT

private slots:
    void planes_follow_line_numbers_and_time_downwards() {
        const SurveyFrame frame(geometry());
        QCOMPARE(frame.count(SectionKind::iline), 4);
        QCOMPARE(frame.count(SectionKind::xline), 5);
        QCOMPARE(frame.count(SectionKind::depth), 11);

        const auto il = frame.plane(SectionKind::iline, 1);
        QCOMPARE(il.axis, 'x');
        QCOMPARE(il.position, 102.0);
        QVERIFY((span(il) == Span{50, 44, -200, -240}));

        const auto xl = frame.plane(SectionKind::xline, 3);
        QCOMPARE(xl.axis, 'y');
        QCOMPARE(xl.position, 45.0);
        QVERIFY((span(xl) == Span{100, 106, -200, -240}));

        const auto depth = frame.plane(SectionKind::depth, 5);
        QCOMPARE(depth.axis, 'z');
        QCOMPARE(depth.position, -220.0);
        QVERIFY((span(depth) == Span{100, 106, 50, 44}));

        QVERIFY((frame.bounds() == std::array<double, 6>{100, 106, 44, 50, -240, -200}));
        QVERIFY_EXCEPTION_THROWN(frame.plane(SectionKind::iline, 4), korvex::utils::LookupError);
    }

    void nearest_sample_snaps_and_clamps() {
        const SurveyFrame frame(geometry());
        const auto inside = frame.nearest({103.2, 46.2, -213.9});
        QCOMPARE(inside.iline_index, 2);  // 104 is nearer than 102
        QCOMPARE(inside.xline, 45);       // across the gap: 45 is nearer than 48
        QCOMPARE(inside.xline_index, 3);
        QCOMPARE(inside.sample_index, 3);
        QCOMPARE(inside.time, 212.0);

        const auto outside = frame.nearest({90.0, 80.0, 0.0});
        QCOMPARE(outside.iline, 100);
        QCOMPARE(outside.xline, 50);
        QCOMPARE(outside.sample_index, 0);
        QCOMPARE(frame.index_of(SectionKind::depth, 1e9), 10);
    }

    void transposing_a_section() {
        const Section section{2, 3, {1, 2, 3, 4, 5, 6}};
        const Section t = section.transposed();
        QCOMPARE(t.rows, 3);
        QCOMPARE(t.columns, 2);
        QCOMPARE(t.values, std::vector<float>({1, 4, 2, 5, 3, 6}));
    }
};

KORVEX_TEST_GUILESS_MAIN(SurveyFrameTest)
#include "tst_survey_frame.moc"
