#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/project/session_snapshot.h"
#include "korvex/app/viewers/display_router.h"
#include "tests/app/recording_display_target.h"
#include "tests/support/log_capture.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using namespace korvex::app;
using korvex::testing::LogCapture;
using korvex::testing::RecordingDisplayTarget;
using korvex::testing::SyntheticObject;

class SessionSnapshotTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        factory_.register_type(
            {SyntheticObject::TYPE, "Synthetic", {"syn"}, &SyntheticObject::load});
    }

    void what_is_shown_comes_back_in_each_viewer() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget one("one");
        RecordingDisplayTarget two("two");
        router.set_active_target(&two);
        router.set_active_target(&one);
        model.add_object(SyntheticObject::load(file("vol"), {{"clip", 3}}));
        model.add_object(SyntheticObject::load(file("pts", false), {}));
        tree.set_checked("vol", true);
        tree.set_section_checked("vol", "iline", true);
        router.set_active_target(&two);
        tree.set_checked("pts", true);
        one.add_item_prop(*tree.object_data().at("pts"), "Z");
        two.view = R"({"azimuth":99})";
        // Hidden entries stay in the display state, but there is nothing to restore from them.
        tree.set_checked("pts", false);
        // The object's tick brings its sections; one is taken away again.
        tree.set_checked("vol", true);
        tree.set_section_checked("vol", "iline", false);

        const ProjectSnapshot saved = capture_session(model, {&one, &two}, 1);
        QCOMPARE(int(saved.objects.size()), 2);
        QCOMPARE(saved.objects[0].settings.value("clip").toInt(), 3);
        QCOMPARE(saved.viewers[1].shown.count("pts"), std::size_t(0));

        DataModel restored_model;
        DisplayRouter restored_router(restored_model);
        DataTree restored(restored_model, restored_router);
        RecordingDisplayTarget new_one("one");
        RecordingDisplayTarget new_two("two");
        restored_router.set_active_target(&new_two);
        restore_objects(restored_model, saved.objects, factory_, this, [] {});
        restore_viewer(restored_model, new_one, saved.viewers[0]);
        restore_viewer(restored_model, new_two, saved.viewers[1]);

        QVERIFY(capture_session(restored_model, {&new_one, &new_two}, 1) == saved);
        QVERIFY(new_one.shown("vol", "sections", "iline"));
        QVERIFY(new_one.shown("pts", "properties", "Z"));
        QCOMPARE(new_two.view, two.view);
        QVERIFY(restored.is_checked("vol"));
        QVERIFY(!restored.is_section_checked("vol", "iline"));
    }

    void picks_go_back_to_their_viewer_or_else_to_the_first() {
        RecordingDisplayTarget one("one");
        RecordingDisplayTarget two("two");
        korvex::widgets::PickedSample sample;
        sample.iline = 7;
        const std::vector<PickRecord> saved{{"two", sample}, {"gone", sample}, {"one", sample}};
        const std::vector<PickRecord> placed = place_picks(saved, {&one, &two});
        QCOMPARE(placed.size(), saved.size());
        QCOMPARE(placed[0].viewer, QString("two"));
        QCOMPARE(placed[1].viewer, QString("one"));
        QCOMPARE(placed[2].viewer, QString("one"));
        QVERIFY(placed[1].sample == sample);
    }

    void objects_that_cannot_be_loaded_are_kept_as_missing() {
        ProjectSnapshot saved;
        saved.objects = {{"Synthetic", "gone", dir_.filePath("gone.syn"), {{"clip", 1}}},
                         {"Synthetic", "broken", file("broken"), {}},
                         {"Unknown", "odd", file("odd"), {}},
                         {"Synthetic", "vol", file("vol"), {}}};
        QFile broken(dir_.filePath("broken.syn"));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("garbage");
        broken.close();
        ViewerRecord viewer{"one", {}, {}, {}};
        for (const char* name : {"gone", "broken", "odd", "vol"}) {
            korvex::utils::save_display_state(viewer.shown, name, "object", "self", true);
        }

        LogCapture log;
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget one("one");
        router.set_active_target(&one);
        restore_objects(model, saved.objects, factory_, this, [] {});
        restore_viewer(model, one, viewer);

        QCOMPARE(int(model.objects().size()), 4);
        for (const char* name : {"gone", "broken", "odd"}) {
            QVERIFY2(dynamic_cast<MissingDataObject*>(tree.object_data().at(name)), name);
        }
        QVERIFY(log.contains("warning",
                             QString("gone is missing from the project: its file %1 was not found")
                                 .arg(dir_.filePath("gone.syn"))));
        QVERIFY(
            log.contains("warning", "odd is missing from the project: Unknown data type Unknown"));
        // The rest is whole: the object that loaded is shown, nothing is asked of the missing.
        QCOMPARE(one.calls, QStringList({"add vol"}));
        QVERIFY(tree.is_checked("vol"));
        // And the missing keep their records for the next save.
        QVERIFY(capture_session(model, {&one}, 0).objects == saved.objects);
    }

private:
    QString file(const QString& name, bool volume = true) {
        return SyntheticObject::write_in(dir_.path(), name, volume);
    }

    QTemporaryDir dir_;
    DataObjectFactory factory_;
};

KORVEX_TEST_MAIN(SessionSnapshotTest)
#include "tst_session_snapshot.moc"
