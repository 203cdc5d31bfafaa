// A cube viewer's view as the project restores it: a stored state is applied whole or
// not at all.
#include <QTest>

#include "korvex/app/viewers/canvas_display_target.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using testing::ViewerFixture;
using widgets::ViewState;

namespace {

// A state as the viewer saves it, every value away from the defaults.
ViewState stored_state() {
    return ViewState{{"distance", 12.0},
                     {"elevation", 100.0},
                     {"azimuth", -45.0},
                     {"fov", 0.0},
                     {"center", QVariantList{1.0, 2.0, 3.0}},
                     {"bgcolor", QVariantList{0.1, 0.2, 0.3, 1.0}},
                     {"aspect_method", "Fixed"},
                     {"aspect_ratio", 2.5}};
}

}  // namespace

class TestCanvasDisplayTarget : public QObject {
    Q_OBJECT

private slots:
    void a_stored_state_comes_back_whole() {
        ViewerFixture viewer;
        app::CanvasDisplayTarget target(viewer.widget);
        const ViewState stored = stored_state();
        target.set_view_state(widgets::view_state_to_json(stored));
        QCOMPARE(viewer.widget.state(), stored);
        QCOMPARE(target.view_state(), widgets::view_state_to_json(stored));
    }

    void a_stored_state_with_any_part_wrong_changes_nothing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("missing");
        QTest::newRow("no aspect ratio") << "aspect_ratio" << QVariant() << true;
        QTest::newRow("no aspect method") << "aspect_method" << QVariant() << true;
        QTest::newRow("fixed ratio of text") << "aspect_ratio" << QVariant("wide") << false;
        QTest::newRow("method of a number") << "aspect_method" << QVariant(3) << false;
        QTest::newRow("fov beyond 180") << "fov" << QVariant(200.0) << false;
        QTest::newRow("colour of text") << "bgcolor" << QVariant("no-such-colour") << false;
    }

    void a_stored_state_with_any_part_wrong_changes_nothing() {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(bool, missing);
        ViewerFixture viewer;
        app::CanvasDisplayTarget target(viewer.widget);
        const ViewState before = viewer.widget.state();
        ViewState bad = stored_state();
        if (missing) {
            ViewState without;
            for (const auto& [name, entry] : bad) {
                if (name != key) without.insert_or_assign(name, entry);
            }
            bad = without;
        } else {
            bad.insert_or_assign(key, value);
        }
        try {
            target.set_view_state(widgets::view_state_to_json(bad));
            QFAIL("a bad stored state must be refused");
        } catch (const std::exception& e) {
            QVERIFY2(QString(e.what()).contains("\"" + key + "\""), e.what());
            QCOMPARE(dynamic_cast<const utils::LookupError*>(&e) != nullptr, missing);
        }
        QCOMPARE(viewer.widget.state(), before);
    }
};

KORVEX_RENDER_TEST_MAIN(TestCanvasDisplayTarget)
#include "tst_canvas_display_target.moc"
