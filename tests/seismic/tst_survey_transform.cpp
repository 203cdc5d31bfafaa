#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/survey_transform.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::seismic::CdpCoordinates;
using korvex::seismic::SegyVolumeFile;
using korvex::seismic::SurveyTransform;
using korvex::testing::VolumeLayout;

namespace {

// A grid as surveys lay them out: inlines 25 m apart and crosslines 12.5 m apart, the
// inline axis turned `degrees` from east, origin in UTM-sized numbers.
struct Grid {
    double degrees = 0.0;
    double x0 = 612345.5;
    double y0 = 6543210.25;
    double il_spacing = 25.0;
    double xl_spacing = 12.5;

    std::array<double, 2> at(double il, double xl) const {
        const double a = degrees * M_PI / 180.0;
        const double u = (il - 1000) * il_spacing;
        const double v = (xl - 2000) * xl_spacing;
        return {x0 + u * std::cos(a) - v * std::sin(a), y0 + u * std::sin(a) + v * std::cos(a)};
    }
};

VolumeLayout survey(const Grid& grid, int scalar) {
    VolumeLayout layout;
    layout.ilines = {1000, 1002, 1004, 1006, 1008};
    layout.xlines = {2000, 2001, 2002, 2003};
    layout.cdp = [grid, scalar](int il, int xl) {
        const auto p = grid.at(il, xl);
        // What the header holds, once the scalar is applied, is the rounded coordinate.
        const double unit = scalar < 0 ? 1.0 / -scalar : (scalar > 0 ? scalar : 1.0);
        return CdpCoordinates{int(std::lround(p[0] / unit)), int(std::lround(p[1] / unit)), scalar};
    };
    return layout;
}

}  // namespace

class SurveyTransformTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void the_transform_matches_the_headers_coordinates_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<int>("scalar");
        QTest::addColumn<double>("precision");  // what the header's rounding leaves
        QTest::newRow("north-up, centimetres") << 0.0 << -100 << 0.01;
        QTest::newRow("rotated 30 degrees, centimetres") << 30.0 << -100 << 0.01;
        QTest::newRow("rotated -125 degrees, whole metres") << -125.0 << 0 << 1.0;
        QTest::newRow("rotated 60 degrees, decametres") << 60.0 << 10 << 10.0;
    }

    void the_transform_matches_the_headers_coordinates() {
        QFETCH(double, degrees);
        QFETCH(int, scalar);
        QFETCH(double, precision);
        Grid grid;
        grid.degrees = degrees;
        const QString path =
            dir_.filePath(QStringLiteral("grid_%1_%2.sgy").arg(degrees).arg(scalar));
        korvex::testing::write_volume(path, survey(grid, scalar));
        const SegyVolumeFile file(path);
        const auto& positions = file.checked_positions();
        QCOMPARE(int(positions.size()), 20);
        const auto transform = SurveyTransform::fit(positions);
        QVERIFY(transform);

        for (const auto& [il, xl] : std::vector<std::array<double, 2>>{
                 {1000, 2000}, {1008, 2000}, {1000, 2003}, {1008, 2003}, {1004, 2001.5}}) {
            const auto expected = grid.at(il, xl);
            const auto mapped = transform->to_map(il, xl);
            QVERIFY2(std::hypot(mapped[0] - expected[0], mapped[1] - expected[1]) <= precision,
                     qPrintable(QStringLiteral("%1/%2: %3 %4 instead of %5 %6")
                                    .arg(il)
                                    .arg(xl)
                                    .arg(mapped[0], 0, 'f', 3)
                                    .arg(mapped[1], 0, 'f', 3)
                                    .arg(expected[0], 0, 'f', 3)
                                    .arg(expected[1], 0, 'f', 3)));
            // And back: a map point lands on its inline and crossline.
            const auto lines = transform->to_lines(expected[0], expected[1]);
            QVERIFY(std::abs(lines[0] - il) < 0.5 && std::abs(lines[1] - xl) < 0.5);
        }
        QVERIFY(std::abs(transform->iline_spacing() - 25.0) < precision);
        QVERIFY(std::abs(transform->xline_spacing() - 12.5) < precision);
        QVERIFY(transform->residual() <= precision);
    }

    void a_stray_coordinate_shows_in_the_residual_not_in_the_grid() {
        Grid grid;
        grid.degrees = 45.0;
        std::vector<korvex::seismic::TracePosition> traces;
        for (int il = 1000; il <= 1010; ++il) {
            for (int xl = 2000; xl <= 2010; ++xl) {
                const auto p = grid.at(il, xl);
                traces.push_back({double(il), double(xl), p[0], p[1]});
            }
        }
        traces[60].x += 50.0;  // one trace 50 m off among 121
        const auto transform = SurveyTransform::fit(traces);
        QVERIFY(transform);
        QVERIFY(transform->residual() > 1.0 && transform->residual() < 10.0);
        const auto corner = transform->to_map(1000, 2000);
        QVERIFY(std::hypot(corner[0] - grid.at(1000, 2000)[0], corner[1] - grid.at(1000, 2000)[1]) <
                2.0);
    }

    // Dead and fill traces often carry no coordinates: zero X and Y are no place on the map.
    void traces_at_zero_are_left_out_of_the_fit() {
        Grid grid;
        std::vector<korvex::seismic::TracePosition> traces;
        for (int il = 1000; il <= 1010; ++il)
            for (int xl = 2000; xl <= 2010; ++xl)
                if ((il + xl) % 9 == 0)
                    traces.push_back({double(il), double(xl), 0.0, 0.0});
                else
                    traces.push_back(
                        {double(il), double(xl), grid.at(il, xl)[0], grid.at(il, xl)[1]});
        const auto transform = SurveyTransform::fit(traces);
        QVERIFY(transform);
        QVERIFY2(transform->residual() < 1e-6, qPrintable(QString::number(transform->residual())));
    }

    void traces_without_coordinates_give_no_transform() {
        const QString path = dir_.filePath("bare.sgy");
        korvex::testing::write_volume(path, VolumeLayout{});
        QVERIFY(!SurveyTransform::fit(SegyVolumeFile(path).checked_positions()));
        // Nor do traces all on one line.
        QVERIFY(!SurveyTransform::fit({{1, 1, 0, 0}, {1, 2, 0, 10}, {1, 3, 0, 20}}));
    }
};

KORVEX_TEST_GUILESS_MAIN(SurveyTransformTest)
#include "tst_survey_transform.moc"
