#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "korvex/app/data_model.h"
#include "korvex/app/data_tree.h"
#include "korvex/app/display_router.h"
#include "korvex/app/missing_data_object.h"
#include "korvex/utils/errors.h"
#include "tests/app/recording_display_target.h"
#include "tests/support/log_capture.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using korvex::app::DataModel;
using korvex::app::DataTree;
using korvex::app::DisplayRouter;
using korvex::app::MissingDataObject;
using korvex::testing::LogCapture;
using korvex::testing::RecordingDisplayTarget;
using korvex::testing::SyntheticObject;

namespace {

SyntheticObject* add(DataTree& tree, const QString& name, bool volume = true) {
    return static_cast<SyntheticObject*>(
        tree.model().add_object(std::make_unique<SyntheticObject>(name, volume)));
}

QAction* action(QMenu& menu, const QString& text) {
    for (QAction* candidate : menu.actions()) {
        if (candidate->text() == text) return candidate;
    }
    return nullptr;
}

}  // namespace

class DataTreeTest : public QObject {
    Q_OBJECT

private slots:
    void checking_shows_in_the_active_viewer_and_unchecking_hides() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget viewer;
        router.set_active_target(&viewer);
        SyntheticObject* vol = add(tree, "vol");

        // The object's tick shows it with its sections; a section's tick, that section.
        tree.tree_item("vol")->setCheckState(0, Qt::Checked);
        QVERIFY(viewer.shown("vol", "object", "self"));
        QVERIFY(tree.is_checked("vol"));
        for (const char* section : {"iline", "xline", "depth"}) {
            QVERIFY(viewer.shown("vol", "sections", section));
            QVERIFY(tree.is_section_checked("vol", section));
        }
        QCOMPARE(vol->images_made, 3);
        tree.set_section_checked("vol", "xline", false);
        QVERIFY(!viewer.shown("vol", "sections", "xline"));
        QVERIFY(tree.is_checked("vol"));

        // Unticked, the object goes with the sections still shown, sections first.
        tree.set_checked("vol", false);
        QCOMPARE(viewer.calls, QStringList({"add vol", "add vol iline", "add vol xline",
                                            "add vol depth", "remove vol xline", "remove vol iline",
                                            "remove vol depth", "remove vol"}));
        QVERIFY(!viewer.shown("vol", "object", "self"));
        QVERIFY(!tree.is_section_checked("vol", "iline"));
        QVERIFY(!tree.is_section_checked("vol", "depth"));

        // A section ticked alone leaves the object's own tick off; the object's tick then
        // adds what is missing.
        tree.set_section_checked("vol", "depth", true);
        QVERIFY(!tree.is_checked("vol"));
        viewer.calls.clear();
        tree.set_checked("vol", true);
        QCOMPARE(viewer.calls, QStringList({"add vol", "add vol iline", "add vol xline"}));

        // Only volumes have section items.
        add(tree, "points", false);
        QCOMPARE(tree.tree_item("points")->childCount(), 0);
        QCOMPARE(tree.tree_item("vol")->childCount(), 3);
        QCOMPARE(tree.tree_item("vol")->child(2)->text(0), QString("depth"));
        QCOMPARE(tree.object_data().at("vol"), vol);
    }

    void a_refused_or_failed_agent_leaves_the_item_as_the_viewer_is() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget viewer;
        router.set_active_target(&viewer);
        SyntheticObject* flat = add(tree, "flat");
        flat->viewable = false;
        tree.set_checked("flat", true);
        QVERIFY(!tree.is_checked("flat"));

        add(tree, "vol");
        LogCapture log;
        viewer.fail_with = "no memory";
        tree.set_checked("vol", true);
        QVERIFY(!tree.is_checked("vol"));
        QVERIFY(log.contains("error", "Showing vol failed: no memory"));

        viewer.fail_with.clear();
        tree.set_checked("vol", true);
        viewer.fail_with = "gone";
        tree.set_checked("vol", false);
        QVERIFY(tree.is_checked("vol"));

        // Without a viewer nothing can be shown, and nothing pretends to be.
        router.set_active_target(nullptr);
        QVERIFY(!tree.is_checked("vol"));
        tree.set_checked("flat", true);
        QVERIFY(!tree.is_checked("flat"));
    }

    void uncheck_all_hides_everything_then_announces_it() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget viewer;
        router.set_active_target(&viewer);
        QObject::connect(&tree, &DataTree::sig_unchecked_all, [&] { viewer.clear_all(); });
        QSignalSpy unchecked(&tree, &DataTree::sig_unchecked_all);
        add(tree, "a");
        add(tree, "b", false);
        tree.set_checked("a", true);
        tree.set_section_checked("a", "iline", false);
        tree.set_section_checked("a", "xline", false);
        tree.set_checked("b", true);
        viewer.calls.clear();

        tree.uncheck_all();
        QCOMPARE(unchecked.count(), 1);
        // The visuals are taken out before the state is forgotten.
        QCOMPARE(viewer.calls,
                 QStringList({"remove a depth", "remove a", "remove b", "clear_all"}));
        QVERIFY(viewer.state.empty());
        QVERIFY(!tree.is_checked("a") && !tree.is_checked("b") &&
                !tree.is_section_checked("a", "depth"));
    }

    void check_marks_follow_the_active_viewer() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget first("one");
        RecordingDisplayTarget second("two");
        router.set_active_target(&first);
        router.add_target(&second);
        SyntheticObject* vol = add(tree, "vol");
        tree.set_checked("vol", true);
        tree.set_section_checked("vol", "iline", false);

        router.set_active_target(&second);
        QVERIFY(!tree.is_checked("vol"));
        tree.set_checked("vol", true);
        tree.set_section_checked("vol", "iline", true);
        // One object, drawn in two viewers, with visuals made for each.
        QCOMPARE(vol->visuals_made, 2);
        QVERIFY(vol->visuals_in_volume.count("one") && vol->visuals_in_volume.count("two"));

        router.set_active_target(&first);
        QVERIFY(tree.is_checked("vol"));
        QVERIFY(!tree.is_section_checked("vol", "iline"));

        // Hiding everything in the viewer behind does not touch the one in front.
        router.take_all_out(second);
        QVERIFY(!second.shown("vol", "object", "self"));
        QVERIFY(first.shown("vol", "object", "self"));
        QVERIFY(tree.is_checked("vol"));
    }

    void removing_an_object_takes_it_out_of_every_viewer() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget first("one");
        RecordingDisplayTarget second("two");
        router.set_active_target(&second);
        router.set_active_target(&first);
        add(tree, "vol");
        add(tree, "other");
        tree.set_checked("vol", true);
        router.set_active_target(&second);
        tree.set_section_checked("vol", "depth", true);

        std::unique_ptr<QMenu> menu(tree.create_context_menu(tree.tree_item("vol")));
        action(*menu, "Remove from project")->trigger();
        QVERIFY(!first.shown("vol", "object", "self"));
        QVERIFY(!second.shown("vol", "sections", "depth"));
        QCOMPARE(tree.object_data().size(), std::size_t(1));
        QCOMPARE(tree.topLevelItemCount(), 1);
        QVERIFY_EXCEPTION_THROWN(tree.is_checked("vol"), korvex::utils::LookupError);
    }

    void names_are_unique_and_missing_objects_cannot_be_shown() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget viewer;
        router.set_active_target(&viewer);
        add(tree, "vol");
        QVERIFY_EXCEPTION_THROWN(add(tree, "vol"), korvex::utils::ValueError);
        QCOMPARE(tree.topLevelItemCount(), 1);

        model.add_object(std::make_unique<MissingDataObject>(
            korvex::app::ObjectRecord{"Synthetic", "gone", "/nowhere/gone.syn", {}},
            "its file was not found"));
        QTreeWidgetItem* item = tree.tree_item("gone");
        QVERIFY(!(item->flags() & Qt::ItemIsUserCheckable));
        QVERIFY(item->toolTip(0).contains("its file was not found"));
        QVERIFY_EXCEPTION_THROWN(tree.set_checked("gone", true), korvex::utils::ValueError);
        std::unique_ptr<QMenu> menu(tree.create_context_menu(item));
        QVERIFY(!action(*menu, "Appearance...")->isEnabled());
        QVERIFY(viewer.calls.isEmpty());

        std::vector<QString> order;
        for (auto* dob : model.objects()) order.push_back(dob->name());
        QCOMPARE(order, (std::vector<QString>{"vol", "gone"}));
    }

    void context_menu_asks_for_the_appearance_page_and_unchecks_all() {
        DataModel model;
        DisplayRouter router(model);
        DataTree tree(model, router);
        RecordingDisplayTarget viewer;
        router.set_active_target(&viewer);
        add(tree, "vol");
        tree.set_checked("vol", true);
        QSignalSpy appearance(&tree, &DataTree::sig_appearance_requested);
        QSignalSpy unchecked(&tree, &DataTree::sig_unchecked_all);

        std::unique_ptr<QMenu> on_item(tree.create_context_menu(tree.tree_item("vol")));
        action(*on_item, "Appearance...")->trigger();
        QCOMPARE(appearance.count(), 1);
        QCOMPARE(appearance.at(0).at(0).toString(), QString("vol"));

        std::unique_ptr<QMenu> on_empty(tree.create_context_menu(nullptr));
        QCOMPARE(on_empty->actions().size(), 1);
        on_empty->actions().front()->trigger();
        QCOMPARE(unchecked.count(), 1);
        QVERIFY(!tree.is_checked("vol"));
    }
};

KORVEX_TEST_MAIN(DataTreeTest)
#include "tst_data_tree.moc"
