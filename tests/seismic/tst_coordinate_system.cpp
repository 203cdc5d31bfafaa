#include <QTest>

#include "korvex/seismic/coordinate_system.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

using korvex::seismic::CoordinateSystem;

class CoordinateSystemTest : public QObject {
    Q_OBJECT

private slots:
    // Reference values from PROJ's cs2cs (EPSG:23031 to EPSG:32631, and to EPSG:4326).
    void points_move_between_systems_as_cs2cs_moves_them() {
        const CoordinateSystem wgs84_utm("EPSG:32631");
        const CoordinateSystem ed50_utm("EPSG:23031");
        std::vector<double> xs{500000, 431000.5}, ys{6000000, 6520000.25};
        wgs84_utm.transform_from(ed50_utm, xs, ys);
        QVERIFY(std::abs(xs[0] - 499908.722) < 0.01 && std::abs(ys[0] - 5999788.529) < 0.01);
        QVERIFY(std::abs(xs[1] - 430909.541) < 0.01 && std::abs(ys[1] - 6519784.920) < 0.01);

        const auto lon_lat = wgs84_utm.to_lon_lat(500000, 6000000);
        QVERIFY(std::abs(lon_lat[0] - 3.0) < 1e-7 && std::abs(lon_lat[1] - 54.1481041) < 1e-7);
        QCOMPARE(ed50_utm.name(), QString("ED50 / UTM zone 31N"));
    }

    void unknown_definitions_are_refused() {
        QVERIFY_EXCEPTION_THROWN(CoordinateSystem("EPSG:99999999"), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(CoordinateSystem("not a system"), korvex::utils::ValueError);
    }

    void a_textual_header_proposes_the_system_it_names_data() {
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("code");
        QTest::newRow("code") << "C 5 CRS: EPSG:23031 UNITS M"
                              << "EPSG:23031";
        QTest::newRow("name") << "C 5 PROJECTION ED50 / UTM zone 31N"
                              << "EPSG:23031";
        QTest::newRow("none") << "C 5 LINE 1000-2000 / STEP 2"
                              << "";
    }
    void a_textual_header_proposes_the_system_it_names() {
        QFETCH(QString, card);
        QFETCH(QString, code);
        QCOMPARE(CoordinateSystem::named_in(card).value_or(QString()), code);
    }
};

KORVEX_TEST_GUILESS_MAIN(CoordinateSystemTest)
#include "tst_coordinate_system.moc"
