#include <QTest>

#include "korvex/utils/icon_manager.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

class IconManagerTest : public QObject {
    Q_OBJECT

private slots:
    void every_name_gives_a_drawable_icon_data() {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"clear_text", "fromcursor", "view_none", "view_all", "view_top", "view_bottom",
              "view_north", "view_south", "view_west", "view_east", "view_orthogonal",
              "view_restrictive", "pick_mode", "bkgd_color", "photo", "help", "options"}) {
            QTest::newRow(name) << QString(name);
        }
    }

    void every_name_gives_a_drawable_icon() {
        QFETCH(QString, name);
        const QIcon icon = korvex::utils::icon(name);
        QVERIFY(!icon.isNull());
        const QImage image = icon.pixmap(16, 16).toImage();
        QCOMPARE(image.size(), QSize(16, 16));
        bool drawn = false;
        for (int y = 0; y < 16 && !drawn; ++y)
            for (int x = 0; x < 16 && !drawn; ++x) drawn = qAlpha(image.pixel(x, y)) > 0;
        QVERIFY2(drawn, "the icon renders as fully transparent");
    }

    void unknown_name_warns_and_gives_a_null_icon() {
        korvex::testing::LogCapture log;
        QVERIFY(korvex::utils::icon("no_such_icon").isNull());
        QVERIFY(log.contains("warning", "No icon named \"no_such_icon\""));
    }
};

KORVEX_TEST_MAIN(IconManagerTest)
#include "tst_icon_manager.moc"
