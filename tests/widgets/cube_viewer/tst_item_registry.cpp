// Showing and hiding items, data objects and sections, and the display-state map.
#include <QSignalSpy>
#include <QTest>

#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/log_capture.h"
#include "tests/support/recording_section.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using scene::Item;
using testing::FakeDataObject;
using testing::LogCapture;
using testing::ViewerFixture;
using utils::is_shown;

namespace {

std::shared_ptr<scene::Visual> a_visual() { return std::make_shared<scene::XYZAxis>(); }

bool shown(const ViewerFixture& viewer, const std::shared_ptr<scene::Visual>& visual) {
    return visual->parent() == viewer.widget.canvas().view();
}

}  // namespace

class TestItemRegistry : public QObject {
    Q_OBJECT

private slots:
    void items_of_every_shape_are_attached_and_registered_once() {
        ViewerFixture viewer;
        auto single = a_visual(), first = a_visual(), second = a_visual(), inner1 = a_visual(),
             inner2 = a_visual();
        const Item one(single);
        const Item list(std::vector<Item>{first, second});
        const Item mixed(std::vector<Item>{first, Item(std::vector<Item>{inner1, inner2})});
        const auto& registry = viewer.widget.canvas().visuals();

        viewer.widget.add_item(one);
        viewer.widget.add_item(list);
        viewer.widget.add_item(mixed);
        QCOMPARE(registry, (std::vector<Item>{one, list, mixed}));
        for (const auto& visual : {single, first, second, inner1, inner2})
            QVERIFY(shown(viewer, visual));
        const Item nothing(std::vector<Item>{});
        viewer.widget.add_item(nothing);  // nothing to draw, registered all the same
        QCOMPARE(registry, (std::vector<Item>{one, list, mixed, nothing}));
        viewer.widget.remove_item(nothing);
        QCOMPARE(registry.size(), std::size_t(3));

        viewer.widget.remove_item(mixed);
        QCOMPARE(registry, (std::vector<Item>{one, list}));
        QVERIFY(!shown(viewer, inner1) && !shown(viewer, inner2) && !shown(viewer, first));
        QVERIFY(shown(viewer, second) && shown(viewer, single));

        // Not registered: still detached, the registry stays as it is.
        viewer.widget.remove_item(Item(second));
        QVERIFY(!shown(viewer, second));
        QCOMPARE(registry.size(), std::size_t(2));
    }

    void agents_show_and_hide_objects_recording_the_state() {
        ViewerFixture viewer;
        FakeDataObject dob("horizon");
        LogCapture log;
        viewer.widget.add_item_agent(dob);
        viewer.widget.add_item_agent(dob);  // again: reused, registered twice
        QCOMPARE(dob.visuals_made, 1);
        const Item item = dob.visuals_in_volume.at("viewer");
        QVERIFY(item.visual()->parent() != nullptr);
        QCOMPARE(viewer.widget.canvas().visuals(), (std::vector<Item>{item, item}));
        QCOMPARE(is_shown(viewer.widget.dpState(), "horizon", "object", "self"), true);

        viewer.widget.remove_item_agent(dob);
        QCOMPARE(item.visual()->parent(), nullptr);
        QCOMPARE(viewer.widget.canvas().visuals().size(), std::size_t(1));
        QCOMPARE(viewer.widget.dpState().at("horizon").at("object").at("self"), false);
        QCOMPARE(dob.visuals_in_volume.count("viewer"), std::size_t(1));  // kept for next time
        QCOMPARE(log.texts(), QStringList({"viewer is adding horizon", "viewer is adding horizon",
                                           "viewer is removing horizon"}));

        log.clear();
        viewer.widget.remove_item_agent(dob);  // no longer shown: nothing at all
        QVERIFY(log.texts().isEmpty());
        viewer.widget.add_item_agent(dob);
        QCOMPARE(dob.visuals_made, 1);
    }

    void objects_that_cannot_be_drawn_or_were_never_shown_are_left_alone() {
        ViewerFixture viewer;
        FakeDataObject table("table", false), never("never");
        LogCapture log;
        viewer.widget.add_item_agent(table);
        viewer.widget.remove_item_agent(never);
        QCOMPARE(log.lines().size(), std::size_t(1));
        QCOMPARE(log.lines()[0].level, QString("warning"));
        QCOMPARE(log.lines()[0].text, QString("viewer cannot display table"));
        QVERIFY(viewer.widget.dpState().empty());
        QVERIFY(viewer.widget.canvas().visuals().empty());
        QCOMPARE(table.visuals_made, 0);
    }

    void an_object_with_nothing_to_draw_is_still_shown_and_recorded() {
        ViewerFixture viewer;
        FakeDataObject empty("empty");
        empty.make_item = [] { return Item(std::vector<Item>{}); };
        LogCapture log;
        viewer.widget.add_item_agent(empty);
        QCOMPARE(is_shown(viewer.widget.dpState(), "empty", "object", "self"), true);
        QCOMPARE(viewer.widget.canvas().visuals().size(), std::size_t(1));
        viewer.widget.remove_item_agent(empty);
        QCOMPARE(is_shown(viewer.widget.dpState(), "empty", "object", "self"), false);
        QVERIFY(viewer.widget.canvas().visuals().empty());
        QCOMPARE(log.texts(), QStringList({"viewer is adding empty", "viewer is removing empty"}));
    }

    void a_renamed_viewer_no_longer_finds_its_visuals() {
        ViewerFixture viewer;
        FakeDataObject dob("horizon");
        viewer.widget.add_item_agent(dob);
        viewer.widget.set_name("renamed");
        QVERIFY_EXCEPTION_THROWN(viewer.widget.remove_item_agent(dob), utils::LookupError);
        // The removal failed, so it was not recorded.
        QCOMPARE(is_shown(viewer.widget.dpState(), "horizon", "object", "self"), true);
    }

    void properties_are_only_recorded() {
        ViewerFixture viewer;
        FakeDataObject dob("wells");
        viewer.widget.add_item_prop(dob, "porosity");
        QCOMPARE(is_shown(viewer.widget.dpState(), "wells", "properties", "porosity"), true);
        viewer.widget.remove_item_prop(dob, "porosity");
        QCOMPARE(is_shown(viewer.widget.dpState(), "wells", "properties", "porosity"), false);
        QVERIFY(viewer.widget.canvas().visuals().empty());
    }

    void hide_all_announces_and_clear_all_forgets_the_state() {
        ViewerFixture viewer;
        FakeDataObject dob("horizon");
        viewer.widget.add_item_agent(dob);
        QSignalSpy hide(&viewer.widget, &widgets::CanvasWidget::sig_hide_all);
        viewer.widget.hide_all();
        QCOMPARE(hide.count(), 1);
        QVERIFY(!viewer.widget.dpState().empty());

        // The host wires the tree's "all unchecked" to clear_all.
        QObject::connect(&viewer.tree(), &testing::FakeDataTree::sig_unchecked_all, &viewer.widget,
                         &widgets::CanvasWidget::clear_all);
        viewer.tree().uncheck_all();
        QVERIFY(viewer.widget.dpState().empty());
        QCOMPARE(viewer.widget.canvas().visuals().size(), std::size_t(1));
        QVERIFY(dob.visuals_in_volume.at("viewer").visual()->parent() != nullptr);
    }

    void sections_are_shown_by_type_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("type");
        QTest::newRow("inline") << "iline_120"
                                << "iline"
                                << "iline";
        QTest::newRow("crossline") << "xline"
                                   << "xline 77"
                                   << "xline";
        QTest::newRow("depth") << "depth-1500"
                               << "depth_3"
                               << "depth";
    }

    void sections_are_shown_by_type() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, type);
        ViewerFixture viewer;
        FakeDataObject cube("cube");
        LogCapture log;
        viewer.widget.add_cube_section(cube, first);
        viewer.widget.add_cube_section(cube, second);  // the same type under another name
        QCOMPARE(cube.images_made, QStringList({type}));
        const Item image = cube.section_image3d.at(type).at("viewer");
        QCOMPARE(viewer.widget.canvas().visuals(), (std::vector<Item>{image, image}));
        QCOMPARE(viewer.widget.dpState().at("cube").at("sections").size(), std::size_t(1));
        QCOMPARE(is_shown(viewer.widget.dpState(), "cube", "sections", type), true);

        viewer.widget.remove_cube_section(cube, second);
        QCOMPARE(image.visual()->parent(), nullptr);
        QCOMPARE(viewer.widget.canvas().visuals().size(), std::size_t(1));
        QCOMPARE(is_shown(viewer.widget.dpState(), "cube", "sections", type), false);
        viewer.widget.remove_cube_section(cube, first);  // no longer shown: nothing
        QCOMPARE(viewer.widget.canvas().visuals().size(), std::size_t(1));
        QVERIFY(log.texts().isEmpty());
    }

    void arbitrary_lines_are_refused_on_add_and_ignored_on_remove() {
        ViewerFixture viewer;
        FakeDataObject cube("cube");
        LogCapture log;
        viewer.widget.add_cube_section(cube, "arbline_3");
        viewer.widget.add_cube_section(cube, "il");
        viewer.widget.remove_cube_section(cube, "arbline_3");
        QCOMPARE(log.texts(), QStringList({"It is arb-line section. Use image view.",
                                           "It is arb-line section. Use image view."}));
        QVERIFY(viewer.widget.dpState().empty());
        QVERIFY(cube.images_made.isEmpty());
    }

    void a_volume_without_room_for_a_section_type_fails_before_recording() {
        ViewerFixture viewer;
        FakeDataObject cube("cube");
        cube.section_image3d.erase("depth");
        QVERIFY_EXCEPTION_THROWN(viewer.widget.add_cube_section(cube, "depth_1"),
                                 utils::LookupError);
        QVERIFY(viewer.widget.dpState().empty());
        viewer.widget.add_cube_section(cube, "iline_1");
        viewer.widget.set_name("renamed");
        QVERIFY_EXCEPTION_THROWN(viewer.widget.remove_cube_section(cube, "iline_1"),
                                 utils::LookupError);
        QCOMPARE(is_shown(viewer.widget.dpState(), "cube", "sections", "iline"), true);
    }
};

KORVEX_RENDER_TEST_MAIN(TestItemRegistry)
#include "tst_item_registry.moc"
