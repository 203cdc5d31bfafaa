#include <QTest>
#include <cmath>

#include "korvex/seismic/survey_geometry.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

using korvex::seismic::SegyGeometry;
using korvex::seismic::SurveyGeometry;
using korvex::seismic::SurveyTransform;
using korvex::seismic::TracePosition;

namespace {

// Inlines 1000..1008 step 2, crosslines 2000..2003: a grid as a file's headers give it.
SegyGeometry lines() {
    SegyGeometry grid;
    grid.ilines = {1000, 1002, 1004, 1006, 1008};
    grid.xlines = {2000, 2001, 2002, 2003};
    grid.samples = 10;
    grid.sample_interval_ms = 4.0;
    return grid;
}

// Traces laid out as a surveyor would: inline numbers growing toward `azimuth` (degrees
// clockwise from north), 25 m per inline step of 2 and 12.5 m per crossline, crosslines to
// the right (clockwise) of the inlines or to their left.
std::vector<TracePosition> traces(double azimuth, bool clockwise) {
    const double a = azimuth * M_PI / 180.0;
    const std::array<double, 2> along{std::sin(a), std::cos(a)};
    const double side = clockwise ? 1.0 : -1.0;
    const std::array<double, 2> across{side * along[1], -side * along[0]};
    std::vector<TracePosition> result;
    for (int il : lines().ilines)
        for (int xl : lines().xlines) {
            const double u = (il - 1000) * 12.5, v = (xl - 2000) * 12.5;
            result.push_back({double(il), double(xl), 612345.5 + u * along[0] + v * across[0],
                              6543210.25 + u * along[1] + v * across[1]});
        }
    return result;
}

}  // namespace

class SurveyGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void a_surveys_shape_and_turn_are_its_own_data() {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<bool>("clockwise");
        for (const double azimuth : {0.0, 35.0, -125.0, 90.0})
            for (const bool clockwise : {true, false})
                QTest::addRow("%g degrees, crosslines %s", azimuth,
                              clockwise ? "clockwise" : "anticlockwise")
                    << azimuth << clockwise;
    }

    void a_surveys_shape_and_turn_are_its_own() {
        QFETCH(double, azimuth);
        QFETCH(bool, clockwise);
        const SurveyGeometry survey(lines(), SurveyTransform::fit(traces(azimuth, clockwise)));
        QVERIFY(survey.has_coordinates());
        QCOMPARE(std::round(survey.inline_azimuth() * 1e6) / 1e6, azimuth);
        QCOMPARE(survey.crosslines_clockwise(), clockwise);
        QCOMPARE(std::round(survey.iline_bin() * 1e6) / 1e6, 25.0);
        QCOMPARE(std::round(survey.xline_bin() * 1e6) / 1e6, 12.5);
        QCOMPARE(survey.iline_step(), 2);
        // The first corner is the first trace; every corner maps back to its lines.
        const auto first = survey.corners()[0];
        QVERIFY(std::hypot(first[0] - 612345.5, first[1] - 6543210.25) < 1e-6);
        const auto back = survey.to_lines(survey.corners()[2][0], survey.corners()[2][1]);
        QVERIFY(std::abs(back[0] - 1008) < 1e-6 && std::abs(back[1] - 2003) < 1e-6);
        // Its grid, set by hand as its page shows it, lays it where it lies.
        const SurveyGeometry set(lines(), survey.grid());
        for (int i = 0; i < 4; ++i)
            QVERIFY(std::hypot(set.corners()[i][0] - survey.corners()[i][0],
                               set.corners()[i][1] - survey.corners()[i][1]) < 1e-6);
    }

    void a_survey_without_coordinates_lies_at_its_line_numbers() {
        const SurveyGeometry survey(lines(), std::nullopt);
        QVERIFY(!survey.has_coordinates());
        const auto corner = survey.to_map(1008, 2003);
        QCOMPARE(corner[0], 1008.0);
        QCOMPARE(corner[1], 2003.0);
        QCOMPARE(survey.inline_azimuth(), 90.0);  // inlines toward east, crosslines north
        QVERIFY(!survey.crosslines_clockwise());
        // Its grid as its page shows it: one map unit per line number, from where it lies.
        const auto set = SurveyGeometry(lines(), survey.grid()).to_map(1008, 2003);
        QVERIFY(std::hypot(set[0] - 1008.0, set[1] - 2003.0) < 1e-9);
        QVERIFY_EXCEPTION_THROWN(SurveyGeometry(lines(), korvex::seismic::SurveyGrid{{}, 0.0}),
                                 korvex::utils::ValueError);
    }
};

KORVEX_TEST_GUILESS_MAIN(SurveyGeometryTest)
#include "tst_survey_geometry.moc"
