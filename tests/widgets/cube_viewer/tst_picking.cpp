// The canvas widget as built, and picking with the mouse on a drawn scene.
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "korvex/scene/image_section.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"
#include "korvex/widgets/cube_viewer/sample_query.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/log_capture.h"
#include "tests/support/recording_section.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using testing::FakeDataObject;
using testing::LogCapture;
using testing::RecordingSection;
using testing::ViewerFixture;

namespace {

// Looking down on 4 x 4 world units in a 200 x 200 window: 50 pixels a unit.
QPoint pixel_of(double x, double y) {
    return {static_cast<int>(100 + 50 * x), static_cast<int>(100 - 50 * y)};
}

// A fixture showing one data object "well" whose visual is a queryable section in
// the lower left quarter, away from the axis.
struct PickScene : ViewerFixture {
    FakeDataObject dob{"well"};
    std::shared_ptr<RecordingSection> section =
        std::make_shared<RecordingSection>(&dob, -1.8, -0.8);

    PickScene() {
        dob.make_item = [this] { return scene::Item(section); };
        tree().add_object(dob);
        show();
        widget.set_view_orthogonal();
        widget.set_view_top();
        widget.set_center({0, 0, 0});
        widget.set_scale_factor(4.0);
    }

    QWidget* native() { return widget.canvas().native(); }
    void press(Qt::MouseButton button, QPoint pos) { QTest::mouseClick(native(), button, {}, pos); }
};

// A section like the fixture's that answers a pick with a sample of its own.
struct AnsweringSection final : scene::ImageSection, widgets::SampleQuery {
    explicit AnsweringSection(host::DataObject* dob)
        : scene::ImageSection({0.f, 0.5f, 0.5f, 1.f}, 2, 2, 'z', 0.0, {-1.8, -0.8, -1.8, -0.8},
                              "seismic", {0.0, 1.0}) {
        queryable_in_3d = true;
        host_dob = dob;
    }
    std::optional<widgets::PickedSample> query_sample(const scene::PickResult& pick) override {
        picks.push_back(pick);
        return answer;
    }
    std::optional<widgets::PickedSample> answer;
    std::vector<scene::PickResult> picks;
};

}  // namespace

class TestPicking : public QObject {
    Q_OBJECT

private slots:
    void a_new_widget_is_built_as_described() {
        ViewerFixture viewer;
        widgets::CanvasWidget& widget = viewer.widget;
        QCOMPARE(widget.owner(), &viewer.panel);
        QCOMPARE(widget.main(), viewer.host.main());
        QCOMPARE(widget.treebase(), static_cast<host::DataRegistry*>(&viewer.tree()));
        QCOMPARE(widget.database(), viewer.host.main()->database());
        QVERIFY(widget.canvas().visuals().empty());
        QVERIFY(!widget.canvas().pick_mode());
        QCOMPARE(widget.cursor().shape(), Qt::OpenHandCursor);
        QVERIFY(widget.dpState().empty());
        QCOMPARE(widget.aspect_method(), QString("Equal"));
        QCOMPARE(widget.aspect_ratio(), std::optional<double>(1.0));
        QVERIFY(widget.hasState());
        QCOMPARE(&widget.camera(), &widget.canvas().view()->camera());
        QCOMPARE(&widget.view(), widget.canvas().view());
        QCOMPARE(widget.canvas().bgcolor(), scene::Color("white"));
        QCOMPARE(widget.canvas().axis().parent(), widget.canvas().view());
        QCOMPARE(widget.canvas().native()->parentWidget(), &widget);
        QCOMPARE(widget.name(), QString("viewer"));
        widget.set_name("other");
        QCOMPARE(widget.name(), QString("other"));
        QCOMPARE(widgets::CanvasWidget::NAME(), QString("cube viewer"));
        QVERIFY(widgets::CanvasWidget::HELP().startsWith("<b>Interaction</b> <br>* LMB: orbits"));
    }

    void a_widget_without_a_name_has_none_but_still_draws() {
        testing::FakeHost host;
        testing::FakePanel panel(&host);
        widgets::CanvasWidget widget(&panel);
        QVERIFY(widget.name().isNull());
        QVERIFY(widget.canvas().view() != nullptr);
        QVERIFY(widget.canvas().native()->isHidden());  // its panel shows it
    }

    void a_broken_owner_chain_refuses_construction() {
        QVERIFY_EXCEPTION_THROWN(widgets::CanvasWidget(nullptr, "v"), utils::AttributeError);
        testing::FakePanel orphan(nullptr);
        QVERIFY_EXCEPTION_THROWN(widgets::CanvasWidget(&orphan, "v"), utils::AttributeError);
    }

    void pick_mode_switches_the_cursor() {
        ViewerFixture viewer;
        viewer.widget.toggle_pick_mode(true);
        QVERIFY(viewer.widget.canvas().pick_mode());
        QCOMPARE(viewer.widget.cursor().shape(), Qt::ArrowCursor);
        viewer.widget.toggle_pick_mode(false);
        QVERIFY(!viewer.widget.canvas().pick_mode());
        QCOMPARE(viewer.widget.cursor().shape(), Qt::OpenHandCursor);
    }

    void a_picked_point_is_logged_as_a_tuple() {
        ViewerFixture viewer;
        LogCapture log;
        emit viewer.widget.sigPickedPoint({1.0, 2.5, -3.0});
        emit viewer.widget.sigPickedPoint({100.0, 1e-7, 0.0});
        QCOMPARE(log.texts(), QStringList({"Mouse pressed at coordinate (1.0, 2.5, -3.0)",
                                           "Mouse pressed at coordinate (100.0, 1e-07, 0.0)"}));
        QVERIFY(viewer.widget.dpState().empty());
    }

    void presses_pick_nothing_with_pick_mode_off_or_nothing_added() {
        PickScene scene;
        LogCapture log;
        scene.widget.add_item_agent(scene.dob);
        log.clear();
        scene.press(Qt::LeftButton, pixel_of(-1.3, -1.3));  // pick mode off
        scene.widget.toggle_pick_mode(true);
        scene.widget.remove_item_agent(scene.dob);
        log.clear();
        scene.press(Qt::LeftButton, pixel_of(-1.3, -1.3));  // nothing left in the registry
        scene.press(Qt::LeftButton, pixel_of(1.5, 1.5));
        QVERIFY(log.texts().isEmpty());
        QCOMPARE(scene.tree().currentItem(), nullptr);
    }

    void presses_on_things_that_cannot_be_queried_are_reported() {
        PickScene scene;
        scene.widget.add_item_agent(scene.dob);
        scene.widget.toggle_pick_mode(true);
        LogCapture log;
        scene.press(Qt::LeftButton, pixel_of(1.5, 1.5));
        scene.press(Qt::LeftButton, pixel_of(0.5, 0.0));  // the x axis
        scene.section->queryable_in_3d = false;
        scene.press(Qt::RightButton, pixel_of(-1.3, -1.3));
        QCOMPARE(log.texts(), QStringList({"No visual is picked", "Visual has no queryable in 3D",
                                           "Visual is not queryable in 3D"}));
        QVERIFY(log.lines()[0].level == "warning" && log.lines()[2].level == "warning");
        QVERIFY(scene.section->queries.empty());
        QVERIFY(scene.widget.view().interactive());
    }

    void buttons_select_query_or_only_log() {
        PickScene scene;
        scene.widget.add_item_agent(scene.dob);
        scene.widget.toggle_pick_mode(true);
        const double azimuth = scene.widget.azimuth();
        const QString query = "Query visual: " + scene.section->text();
        LogCapture log;

        scene.press(Qt::LeftButton, pixel_of(-1.3, -1.3));
        QCOMPARE(log.texts(), QStringList({query, "Visual host name: well"}));
        QCOMPARE(scene.tree().current_name(), QString("well"));
        QVERIFY(scene.section->queries.empty());

        log.clear();
        scene.press(Qt::RightButton, pixel_of(-1.2, -1.4));
        QCOMPARE(log.texts(), QStringList({query}));
        QCOMPARE(scene.section->queries.size(), std::size_t(1));
        QCOMPARE(scene.section->queries[0].canvas, &scene.widget.canvas());
        QCOMPARE(scene.section->queries[0].event.button, scene::MouseEvent::RIGHT);
        QCOMPARE(scene.section->queries[0].event.pos, pixel_of(-1.2, -1.4));

        log.clear();
        scene.press(Qt::MiddleButton, pixel_of(-1.3, -1.3));
        QCOMPARE(log.texts(), QStringList({query}));
        QCOMPARE(scene.section->queries.size(), std::size_t(1));
        QCOMPARE(scene.widget.azimuth(), azimuth);  // picking leaves the camera alone
    }

    void a_pick_whose_object_left_the_tree_selects_nothing_and_goes_on() {
        PickScene scene;
        scene.widget.add_item_agent(scene.dob);
        scene.widget.toggle_pick_mode(true);
        scene.tree().remove_object("well");
        LogCapture log;
        scene.press(Qt::LeftButton, pixel_of(-1.3, -1.3));
        QVERIFY(log.contains("warning", "well is not in the data tree; nothing is selected"));
        QCOMPARE(scene.tree().currentItem(), nullptr);
        QVERIFY(scene.widget.view().interactive());
    }

    void a_failing_query_is_logged_and_the_viewer_goes_on() {
        PickScene scene;
        scene.widget.add_item_agent(scene.dob);
        scene.widget.toggle_pick_mode(true);
        scene.section->fail = true;
        LogCapture log;
        scene.press(Qt::RightButton, pixel_of(-1.3, -1.3));
        QVERIFY(log.contains("error", "Query in 3D failed: the query failed"));
        scene.section->fail = false;
        scene.press(Qt::RightButton, pixel_of(-1.3, -1.3));
        QCOMPARE(scene.section->queries.size(), std::size_t(2));
    }

    // A section answering with nothing leaves the viewer quiet; a sample goes out typed,
    // the section having been handed the pick already made, and then takes the keys.
    void a_sample_answered_by_the_visual_is_signalled() {
        PickScene scene;
        auto answering = std::make_shared<AnsweringSection>(&scene.dob);
        scene.dob.make_item = [&] { return scene::Item(answering); };
        scene.widget.add_item_agent(scene.dob);
        scene.widget.toggle_pick_mode(true);
        QSignalSpy samples(&scene.widget, &widgets::CanvasWidget::sig_picked_sample);
        scene.press(Qt::RightButton, pixel_of(-1.3, -1.3));
        QCOMPARE(samples.size(), 0);
        QCOMPARE(scene.widget.view().key_target(), nullptr);

        widgets::PickedSample sample;
        sample.volume = "well";
        sample.iline = 7;
        answering->answer = sample;
        scene.press(Qt::RightButton, pixel_of(-1.3, -1.2));
        QCOMPARE(samples.size(), 1);
        QVERIFY(samples[0][0].value<widgets::PickedSample>() == sample);
        QCOMPARE(answering->picks.back().visual, answering.get());
        const auto point = *answering->picks.back().point;  // the pixel's centre
        QVERIFY(std::abs(point[0] + 1.3) < 0.02 && std::abs(point[1] + 1.2) < 0.02);
        QCOMPARE(scene.widget.view().key_target(), answering.get());

        scene.press(Qt::LeftButton, pixel_of(-1.3, -1.3));  // selecting reports no sample
        QCOMPARE(samples.size(), 1);
    }
};

KORVEX_RENDER_TEST_MAIN(TestPicking)
#include "tst_picking.moc"
