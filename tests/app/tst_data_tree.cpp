#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/header_browser.h"
#include "korvex/app/data/header_summary_model.h"
#include "korvex/app/viewers/display_router.h"
#include "korvex/utils/errors.h"
#include "tests/app/open_volume.h"
#include "tests/app/recording_display_target.h"
#include "tests/seismic/test_volumes.h"
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

// A tree over an empty project, with one viewer ("viewer") in front.
struct Fixture {
    DataModel model;
    DisplayRouter router{model};
    DataTree tree{model, router};
    RecordingDisplayTarget viewer;

    Fixture() { router.set_active_target(&viewer); }

    SyntheticObject* add(const QString& name, bool volume = true) {
        return static_cast<SyntheticObject*>(
            model.add_object(std::make_unique<SyntheticObject>(name, volume)));
    }
};

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
        Fixture f;
        SyntheticObject* vol = f.add("vol");

        // The object's tick shows it with its sections; a section's tick, that section.
        f.tree.tree_item("vol")->setCheckState(0, Qt::Checked);
        QVERIFY(f.viewer.shown("vol", "object", "self"));
        QVERIFY(f.tree.is_checked("vol"));
        for (const char* section : {"iline", "xline", "depth"}) {
            QVERIFY(f.viewer.shown("vol", "sections", section));
            QVERIFY(f.tree.is_section_checked("vol", section));
        }
        QCOMPARE(vol->images_made, 3);
        f.tree.set_section_checked("vol", "xline", false);
        QVERIFY(!f.viewer.shown("vol", "sections", "xline"));
        QVERIFY(f.tree.is_checked("vol"));

        // Unticked, the object goes with the sections still shown, sections first.
        f.tree.set_checked("vol", false);
        QCOMPARE(f.viewer.calls,
                 QStringList({"add vol", "add vol iline", "add vol xline", "add vol depth",
                              "remove vol xline", "remove vol iline", "remove vol depth",
                              "remove vol"}));
        QVERIFY(!f.viewer.shown("vol", "object", "self"));
        QVERIFY(!f.tree.is_section_checked("vol", "iline"));
        QVERIFY(!f.tree.is_section_checked("vol", "depth"));

        // A section ticked alone leaves the object's own tick off; the object's tick then
        // adds what is missing.
        f.tree.set_section_checked("vol", "depth", true);
        QVERIFY(!f.tree.is_checked("vol"));
        f.viewer.calls.clear();
        f.tree.set_checked("vol", true);
        QCOMPARE(f.viewer.calls, QStringList({"add vol", "add vol iline", "add vol xline"}));

        // Only volumes have section items.
        f.add("points", false);
        QCOMPARE(f.tree.tree_item("points")->childCount(), 0);
        QCOMPARE(f.tree.tree_item("vol")->childCount(), 3);
        QCOMPARE(f.tree.tree_item("vol")->child(2)->text(0), QString("depth"));
        QCOMPARE(f.tree.object_data().at("vol"), vol);
    }

    void a_refused_or_failed_agent_leaves_the_item_as_the_viewer_is() {
        Fixture f;
        SyntheticObject* flat = f.add("flat");
        flat->viewable = false;
        f.tree.set_checked("flat", true);
        QVERIFY(!f.tree.is_checked("flat"));

        f.add("vol");
        LogCapture log;
        f.viewer.fail_with = "no memory";
        f.tree.set_checked("vol", true);
        QVERIFY(!f.tree.is_checked("vol"));
        QVERIFY(log.contains("error", "Showing vol failed: no memory"));

        f.viewer.fail_with.clear();
        f.tree.set_checked("vol", true);
        f.viewer.fail_with = "gone";
        f.tree.set_checked("vol", false);
        QVERIFY(f.tree.is_checked("vol"));

        // Without a viewer nothing can be shown, and nothing pretends to be.
        f.router.set_active_target(nullptr);
        QVERIFY(!f.tree.is_checked("vol"));
        f.tree.set_checked("flat", true);
        QVERIFY(!f.tree.is_checked("flat"));
    }

    void uncheck_all_hides_everything_then_announces_it() {
        Fixture f;
        QObject::connect(&f.tree, &DataTree::sig_unchecked_all, [&] { f.viewer.clear_all(); });
        QSignalSpy unchecked(&f.tree, &DataTree::sig_unchecked_all);
        f.add("a");
        f.add("b", false);
        f.tree.set_checked("a", true);
        f.tree.set_section_checked("a", "iline", false);
        f.tree.set_section_checked("a", "xline", false);
        f.tree.set_checked("b", true);
        f.viewer.calls.clear();

        f.tree.uncheck_all();
        QCOMPARE(unchecked.count(), 1);
        // The visuals are taken out before the state is forgotten.
        QCOMPARE(f.viewer.calls,
                 QStringList({"remove a depth", "remove a", "remove b", "clear_all"}));
        QVERIFY(f.viewer.state.empty());
        QVERIFY(!f.tree.is_checked("a") && !f.tree.is_checked("b") &&
                !f.tree.is_section_checked("a", "depth"));
    }

    void check_marks_follow_the_active_viewer() {
        Fixture f;
        RecordingDisplayTarget& first = f.viewer;
        RecordingDisplayTarget second("two");
        f.router.add_target(&second);
        SyntheticObject* vol = f.add("vol");
        f.tree.set_checked("vol", true);
        f.tree.set_section_checked("vol", "iline", false);

        f.router.set_active_target(&second);
        QVERIFY(!f.tree.is_checked("vol"));
        f.tree.set_checked("vol", true);
        f.tree.set_section_checked("vol", "iline", true);
        // One object, drawn in two viewers, with visuals made for each.
        QCOMPARE(vol->visuals_made, 2);
        QVERIFY(vol->visuals_in_volume.count("viewer") && vol->visuals_in_volume.count("two"));

        f.router.set_active_target(&first);
        QVERIFY(f.tree.is_checked("vol"));
        QVERIFY(!f.tree.is_section_checked("vol", "iline"));

        // Hiding everything in the viewer behind does not touch the one in front.
        f.router.take_all_out(second);
        QVERIFY(!second.shown("vol", "object", "self"));
        QVERIFY(first.shown("vol", "object", "self"));
        QVERIFY(f.tree.is_checked("vol"));
    }

    void removing_an_object_takes_it_out_of_every_viewer() {
        Fixture f;
        RecordingDisplayTarget& first = f.viewer;
        RecordingDisplayTarget second("two");
        f.router.add_target(&second);
        f.add("vol");
        f.add("other");
        f.tree.set_checked("vol", true);
        f.router.set_active_target(&second);
        f.tree.set_section_checked("vol", "depth", true);

        std::unique_ptr<QMenu> menu(f.tree.create_context_menu(f.tree.tree_item("vol")));
        action(*menu, "Remove from project")->trigger();
        QVERIFY(!first.shown("vol", "object", "self"));
        QVERIFY(!second.shown("vol", "sections", "depth"));
        QCOMPARE(f.tree.object_data().size(), std::size_t(1));
        QCOMPARE(f.tree.topLevelItemCount(), 1);
        QVERIFY_EXCEPTION_THROWN(f.tree.is_checked("vol"), korvex::utils::LookupError);
    }

    void names_are_unique_and_missing_objects_cannot_be_shown() {
        Fixture f;
        f.add("vol");
        QVERIFY_EXCEPTION_THROWN(f.add("vol"), korvex::utils::ValueError);
        QCOMPARE(f.tree.topLevelItemCount(), 1);

        f.model.add_object(std::make_unique<MissingDataObject>(
            korvex::app::ObjectRecord{"Synthetic", "gone", "/nowhere/gone.syn", {}},
            "its file was not found"));
        QTreeWidgetItem* item = f.tree.tree_item("gone");
        QVERIFY(!(item->flags() & Qt::ItemIsUserCheckable));
        QVERIFY(item->toolTip(0).contains("its file was not found"));
        QVERIFY_EXCEPTION_THROWN(f.tree.set_checked("gone", true), korvex::utils::ValueError);
        std::unique_ptr<QMenu> menu(f.tree.create_context_menu(item));
        QVERIFY(!action(*menu, "Appearance...")->isEnabled());
        QVERIFY(f.viewer.calls.isEmpty());

        std::vector<QString> order;
        for (auto* dob : f.model.objects()) order.push_back(dob->name());
        QCOMPARE(order, (std::vector<QString>{"vol", "gone"}));
    }

    void context_menu_asks_for_the_appearance_page_and_unchecks_all() {
        Fixture f;
        f.add("vol");
        f.tree.set_checked("vol", true);
        QSignalSpy appearance(&f.tree, &DataTree::sig_appearance_requested);
        QSignalSpy unchecked(&f.tree, &DataTree::sig_unchecked_all);

        std::unique_ptr<QMenu> on_item(f.tree.create_context_menu(f.tree.tree_item("vol")));
        action(*on_item, "Appearance...")->trigger();
        QCOMPARE(appearance.count(), 1);
        QCOMPARE(appearance.at(0).at(0).toString(), QString("vol"));

        std::unique_ptr<QMenu> on_empty(f.tree.create_context_menu(nullptr));
        QCOMPARE(on_empty->actions().size(), 1);
        on_empty->actions().front()->trigger();
        QCOMPARE(unchecked.count(), 1);
        QVERIFY(!f.tree.is_checked("vol"));
    }

    void a_volume_offers_a_look_at_its_segy_headers() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.bytes = {9, 21};
        korvex::testing::write_volume(dir.filePath("odd.sgy"), layout);
        Fixture f;
        const auto* volume = f.model.add_object(korvex::testing::open_volume(
            dir.filePath("odd.sgy"), {{"iline_byte", 9}, {"xline_byte", 21}}));

        std::unique_ptr<QMenu> menu(f.tree.create_context_menu(f.tree.tree_item(volume->name())));
        action(*menu, "SEG-Y headers...")->trigger();
        QTRY_VERIFY(f.tree.findChild<korvex::app::data::HeaderBrowser*>());
        auto* browser = f.tree.findChild<korvex::app::data::HeaderBrowser*>();
        QVERIFY(browser->isVisible());
        QVERIFY(browser->summary_model().varies(9));
        browser->close();
    }
};

KORVEX_TEST_MAIN(DataTreeTest)
#include "tst_data_tree.moc"
