#include <QTest>
#include <cmath>

#include "korvex/app/picks/pick_table_model.h"
#include "tests/support/test_main.h"

using korvex::app::PickTableModel;
using korvex::widgets::PickedSample;

// The Picks dock shows, and its CSV file writes, every digit a user may type elsewhere.
class PickTableModelTest final : public QObject {
    Q_OBJECT

private slots:
    void cells_show_numbers_whole_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("inline") << 0 << "2001";
        QTest::newRow("time to the quarter millisecond") << 2 << "12345.25";
        QTest::newRow("map x to the centimetre") << 3 << "453187.26";
        QTest::newRow("map y to the centimetre") << 4 << "5424429.20";
        QTest::newRow("spike") << 5 << "1234567";
    }
    void cells_show_numbers_whole() {
        QFETCH(int, column);
        QFETCH(QString, text);
        PickedSample pick;
        pick.iline = 2001;
        pick.time = 12345.25 + 1e-10;  // as delay + n * interval leaves it
        pick.map_x = 453187.255999;
        pick.map_y = 5424429.2;
        pick.amplitude = 1234567.0;
        QCOMPARE(PickTableModel::cell(pick, column), text);
    }

    void a_sample_without_amplitude_shows_as_a_missing_map_x() {
        PickedSample pick;
        pick.amplitude = std::nan("");
        QCOMPARE(PickTableModel::cell(pick, 5), PickTableModel::cell(pick, 3));
    }
};

KORVEX_TEST_GUILESS_MAIN(PickTableModelTest)
#include "tst_pick_table_model.moc"
