#include <QSignalSpy>
#include <QTest>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/viewers/display_router.h"
#include "tests/app/recording_display_target.h"
#include "tests/support/log_capture.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using korvex::app::DataModel;
using korvex::app::DisplayRouter;
using korvex::testing::LogCapture;
using korvex::testing::RecordingDisplayTarget;
using korvex::testing::SyntheticObject;

class DisplayRouterTest : public QObject {
    Q_OBJECT

private slots:
    void a_dropped_object_leaves_every_viewer_even_when_one_fails() {
        DataModel model;
        DisplayRouter router(model);
        RecordingDisplayTarget front("front");
        RecordingDisplayTarget broken("broken");
        RecordingDisplayTarget behind("behind");
        router.add_target(&broken);
        router.add_target(&behind);
        router.set_active_target(&front);
        auto& vol = *model.add_object(std::make_unique<SyntheticObject>("vol"));
        for (RecordingDisplayTarget* viewer : {&front, &broken, &behind})
            router.show_in(*viewer, vol);
        QVERIFY(front.shown("vol", "sections", "depth") && behind.shown("vol", "object", "self"));

        QSignalSpy changed(&router, &DisplayRouter::sig_display_changed);
        broken.fail_with = "driver lost";
        LogCapture log;
        model.remove_object("vol");
        // Sections first, then the object, in each viewer; a failure is logged, not fatal.
        QCOMPARE(front.calls.mid(front.calls.size() - 4),
                 QStringList(
                     {"remove vol iline", "remove vol xline", "remove vol depth", "remove vol"}));
        QVERIFY(!front.shown("vol", "object", "self"));
        QVERIFY(!behind.shown("vol", "object", "self") &&
                !behind.shown("vol", "sections", "iline"));
        QVERIFY(log.contains("error", "Hiding vol failed: driver lost"));
        // Only the viewer in front has check marks to redo.
        QCOMPARE(changed.count(), 1);
    }

    void a_viewer_that_goes_stops_being_the_one_in_front() {
        DataModel model;
        DisplayRouter router(model);
        RecordingDisplayTarget viewer;
        QSignalSpy active(&router, &DisplayRouter::sig_active_changed);
        router.set_active_target(&viewer);
        QCOMPARE(router.active_target(), &viewer);
        router.remove_target(&viewer);
        QVERIFY(!router.active_target());
        QCOMPARE(active.count(), 2);

        // It is not asked for anything any more.
        model.add_object(std::make_unique<SyntheticObject>("vol"));
        model.remove_object("vol");
        QVERIFY(viewer.calls.isEmpty());
    }
};

KORVEX_TEST_GUILESS_MAIN(DisplayRouterTest)
#include "tst_display_router.moc"
