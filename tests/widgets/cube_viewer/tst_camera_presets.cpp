// The camera as the viewer drives it: accessors, named directions, projection, fit.
#include <QTest>

#include "korvex/scene/image_section.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/errors.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/log_capture.h"
#include "tests/support/scene_probe.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using testing::FakeDataObject;
using testing::LogCapture;
using testing::ViewerFixture;
using Vector = std::array<double, 3>;
using Preset = void (widgets::CanvasWidget::*)();
Q_DECLARE_METATYPE(Vector)
Q_DECLARE_METATYPE(Preset)

namespace {

struct CameraValues {
    Vector center;
    double fov, scale_factor, elevation, azimuth;
    explicit CameraValues(const widgets::CanvasWidget& w)
        : center(w.center()),
          fov(w.fov()),
          scale_factor(w.scale_factor()),
          elevation(w.elevation()),
          azimuth(w.azimuth()) {}
    bool operator==(const CameraValues& o) const {
        return center == o.center && fov == o.fov && scale_factor == o.scale_factor &&
               elevation == o.elevation && azimuth == o.azimuth;
    }
};

}  // namespace

class TestCameraPresets : public QObject {
    Q_OBJECT

private slots:
    void presets_turn_the_camera_and_nothing_else_data() {
        QTest::addColumn<Preset>("preset");
        QTest::addColumn<double>("elevation");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<Vector>("looking");
        QTest::newRow("top") << Preset(&widgets::CanvasWidget::set_view_top) << 90.0 << 0.0
                             << Vector{0, 0, -1};
        QTest::newRow("bottom") << Preset(&widgets::CanvasWidget::set_view_bot) << -90.0 << 0.0
                                << Vector{0, 0, 1};
        QTest::newRow("north") << Preset(&widgets::CanvasWidget::set_view_north) << 0.0 << 180.0
                               << Vector{0, -1, 0};
        QTest::newRow("south") << Preset(&widgets::CanvasWidget::set_view_south) << 0.0 << 0.0
                               << Vector{0, 1, 0};
        QTest::newRow("west") << Preset(&widgets::CanvasWidget::set_view_west) << 0.0 << -90.0
                              << Vector{1, 0, 0};
        QTest::newRow("east") << Preset(&widgets::CanvasWidget::set_view_east) << 0.0 << 90.0
                              << Vector{-1, 0, 0};
    }

    void presets_turn_the_camera_and_nothing_else() {
        QFETCH(Preset, preset);
        QFETCH(double, elevation);
        QFETCH(double, azimuth);
        QFETCH(Vector, looking);
        ViewerFixture viewer;
        widgets::CanvasWidget& widget = viewer.widget;
        widget.set_center({10, 20, 30});
        widget.set_scale_factor(42);
        for (bool orthogonal : {false, true}) {
            if (orthogonal) widget.set_view_orthogonal();
            const double fov = widget.fov();
            (widget.*preset)();
            QCOMPARE(widget.elevation(), elevation);
            QCOMPARE(widget.azimuth(), azimuth);
            QCOMPARE(testing::direction_of_projection(widget.camera()), looking);
            QCOMPARE(widget.center(), (Vector{10, 20, 30}));
            QCOMPARE(widget.scale_factor(), 42.0);
            QCOMPARE(widget.fov(), fov);
            QCOMPARE(testing::parallel_projection(widget.camera()), orthogonal);
        }
    }

    void accessors_pass_through_and_distance_is_the_zoom() {
        ViewerFixture viewer;
        widgets::CanvasWidget& widget = viewer.widget;
        widget.set_distance(12.5);
        QCOMPARE(widget.scale_factor(), 12.5);
        widget.set_scale_factor(3.0);
        QCOMPARE(widget.distance(), 3.0);
        widget.set_center({1, 2, 3});
        QCOMPARE(widget.camera().center(), (Vector{1, 2, 3}));
        widget.set_fov(30);
        QCOMPARE(widget.camera().fov(), 30.0);
        QVERIFY_EXCEPTION_THROWN(widget.set_fov(-5), utils::ValueError);  // the camera refuses
    }

    void orthogonal_then_perspective_ends_at_ninety_degrees() {
        ViewerFixture viewer;
        QCOMPARE(viewer.widget.fov(), 45.0);
        viewer.widget.set_view_orthogonal();
        QCOMPARE(viewer.widget.fov(), 0.0);
        QVERIFY(testing::parallel_projection(viewer.widget.camera()));
        viewer.widget.set_view_perspective();
        QCOMPARE(viewer.widget.fov(), 90.0);
        QVERIFY(!testing::parallel_projection(viewer.widget.camera()));
        QCOMPARE(testing::view_angle(viewer.widget.camera()), 90.0);
    }

    void view_all_with_nothing_displayed_only_warns() {
        ViewerFixture viewer;
        const CameraValues before(viewer.widget);
        LogCapture log;
        viewer.widget.set_view_all();
        QVERIFY(log.contains("warning", "No item is displayed."));
        QVERIFY(CameraValues(viewer.widget) == before);
    }

    void view_all_fits_what_is_shown_and_looks_down() {
        ViewerFixture viewer;
        QVERIFY(viewer.show(320, 200));
        FakeDataObject cube("cube");
        cube.make_item = [] {
            return scene::Item(
                std::make_shared<scene::ImageSection>(std::vector<float>(4, 0.f), 2, 2, 'y', 800.0,
                                                      scene::PlaneExtent{1000, 3000, -500, 200}));
        };
        viewer.widget.add_item_agent(cube);
        viewer.widget.set_view_all();
        QCOMPARE(viewer.widget.elevation(), 90.0);
        QCOMPARE(viewer.widget.azimuth(), 0.0);
        const std::array<double, 6> shown{1000, 3000, 800, 800, -500, 200};
        QVERIFY(testing::in_sight(viewer.widget.view(), shown));
        // The axis at the origin stays drawn but does not pull the fit away from the data.
        QVERIFY(!testing::in_sight(viewer.widget.view(), {0, 1, 0, 1, 0, 1}));
        viewer.widget.set_view_south();
        QVERIFY(testing::in_sight(viewer.widget.view(), shown));
    }

    void view_all_after_everything_was_hidden_fits_what_is_left() {
        ViewerFixture viewer;
        QVERIFY(viewer.show());
        FakeDataObject cube("cube");
        viewer.widget.add_cube_section(cube, "iline");
        viewer.widget.remove_cube_section(cube, "iline");
        viewer.widget.set_scale_factor(1000);
        viewer.widget.set_view_all();  // the map still holds false entries: the fit runs
        QCOMPARE(viewer.widget.elevation(), 90.0);
        QVERIFY(viewer.widget.scale_factor() < 10);  // fitted to the unit axis alone
    }

    void restrictive_view_is_not_implemented() {
        ViewerFixture viewer;
        const CameraValues before(viewer.widget);
        QVERIFY_EXCEPTION_THROWN(viewer.widget.set_view_restrictive_on(),
                                 utils::NotImplementedError);
        QVERIFY_EXCEPTION_THROWN(viewer.widget.set_view_restrictive_off(),
                                 utils::NotImplementedError);
        QVERIFY(CameraValues(viewer.widget) == before);
    }
};

KORVEX_RENDER_TEST_MAIN(TestCameraPresets)
#include "tst_camera_presets.moc"
