// The turntable camera: its geometry as VTK sees it, fitting, and the mouse.
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <vtkCamera.h>

#include "korvex/scene/image_section.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "tests/support/scene_probe.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;
using korvex::testing::direction_of_projection;
using korvex::testing::in_sight;
using korvex::testing::SceneWindow;
using Vector = std::array<double, 3>;
Q_DECLARE_METATYPE(Vector)

namespace {

bool close(const Vector& a, const Vector& b, double tolerance = 1e-9) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > tolerance) return false;
    }
    return true;
}

Vector view_up(const TurntableCamera& camera) {
    Vector up{};
    VtkAccess::camera(camera)->GetViewUp(up.data());
    return up;
}

void send_mouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                Qt::KeyboardModifiers modifiers = {}) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, widget.mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void drag(QWidget& widget, Qt::MouseButton button, QPoint from, QPoint to,
          Qt::KeyboardModifiers modifiers = {}) {
    send_mouse(widget, QEvent::MouseButtonPress, from, button, modifiers);
    send_mouse(widget, QEvent::MouseMove, to, button, modifiers);
    send_mouse(widget, QEvent::MouseButtonRelease, to, button, modifiers);
}

void wheel(QWidget& widget, int notches) {
    const QPoint pos(50, 50);
    QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

class TestTurntableCamera : public QObject {
    Q_OBJECT

private slots:
    void starts_with_its_defaults() {
        SceneWindow scene;
        const TurntableCamera& camera = scene.view().camera();
        QCOMPARE(camera.fov(), 45.0);
        QCOMPARE(camera.elevation(), 30.0);
        QCOMPARE(camera.azimuth(), 30.0);
        QCOMPARE(camera.center(), (Vector{0, 0, 0}));
        QVERIFY(!VtkAccess::camera(camera)->GetParallelProjection());
    }

    void named_directions_look_the_right_way_data() {
        QTest::addColumn<double>("elevation");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<Vector>("looking");
        QTest::addColumn<Vector>("up");
        QTest::newRow("top") << 90.0 << 0.0 << Vector{0, 0, -1} << Vector{0, 1, 0};
        QTest::newRow("bottom") << -90.0 << 0.0 << Vector{0, 0, 1} << Vector{0, -1, 0};
        QTest::newRow("south") << 0.0 << 0.0 << Vector{0, 1, 0} << Vector{0, 0, 1};
        QTest::newRow("north") << 0.0 << 180.0 << Vector{0, -1, 0} << Vector{0, 0, 1};
        QTest::newRow("west") << 0.0 << -90.0 << Vector{1, 0, 0} << Vector{0, 0, 1};
        QTest::newRow("east") << 0.0 << 90.0 << Vector{-1, 0, 0} << Vector{0, 0, 1};
    }

    void named_directions_look_the_right_way() {
        QFETCH(double, elevation);
        QFETCH(double, azimuth);
        QFETCH(Vector, looking);
        QFETCH(Vector, up);
        SceneWindow scene;
        TurntableCamera& camera = scene.view().camera();
        camera.set_center({5, 6, 7});
        for (double fov : {45.0, 0.0}) {
            camera.set_fov(fov);
            camera.set_elevation(elevation);
            camera.set_azimuth(azimuth);
            QVERIFY(close(direction_of_projection(camera), looking));
            QVERIFY(close(view_up(camera), up));
            Vector focal{};
            VtkAccess::camera(camera)->GetFocalPoint(focal.data());
            QCOMPARE(focal, (Vector{5, 6, 7}));
        }
    }

    void zoom_is_the_extent_across_the_shorter_side() {
        SceneWindow wide(300, 200);
        TurntableCamera& camera = wide.view().camera();
        camera.set_scale_factor(10.0);
        camera.set_fov(90.0);
        QCOMPARE(VtkAccess::camera(camera)->GetDistance(), 5.0);  // 10 / (2 tan 45)
        QCOMPARE(VtkAccess::camera(camera)->GetViewAngle(), 90.0);
        QVERIFY(!VtkAccess::camera(camera)->GetUseHorizontalViewAngle());
        camera.set_fov(0.0);
        QVERIFY(VtkAccess::camera(camera)->GetParallelProjection());
        QCOMPARE(VtkAccess::camera(camera)->GetParallelScale(), 5.0);

        SceneWindow tall(200, 300);
        TurntableCamera& upright = tall.view().camera();
        upright.set_scale_factor(10.0);
        upright.set_fov(0.0);
        QCOMPARE(VtkAccess::camera(upright)->GetParallelScale(), 7.5);  // half the taller height
        upright.set_fov(60.0);
        QVERIFY(VtkAccess::camera(upright)->GetUseHorizontalViewAngle());
    }

    void setters_refuse_what_the_camera_cannot_take() {
        SceneWindow scene;
        TurntableCamera& camera = scene.view().camera();
        QVERIFY_EXCEPTION_THROWN(camera.set_elevation(std::nan("")), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(camera.set_fov(-1.0), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(camera.set_fov(181.0), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(camera.set_scale_factor(0.0), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(camera.set_center({0, std::nan(""), 0}),
                                 korvex::utils::ValueError);
        camera.set_fov(180.0);  // accepted, drawn as wide as VTK goes
        QCOMPARE(VtkAccess::camera(camera)->GetViewAngle(), 179.0);
    }

    void set_range_keeps_everything_in_sight_from_any_side_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("fov");
        QTest::newRow("wide, perspective") << 300 << 200 << 45.0;
        QTest::newRow("tall, perspective") << 150 << 300 << 60.0;
        QTest::newRow("wide, orthographic") << 300 << 200 << 0.0;
        QTest::newRow("tall, orthographic") << 150 << 300 << 0.0;
    }

    void set_range_keeps_everything_in_sight_from_any_side() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, fov);
        SceneWindow scene(width, height);
        ImageSection floor(std::vector<float>(4, 0.f), 2, 2, 'z', -300, {1000, 3000, 500, 900});
        ImageSection wall(std::vector<float>(4, 0.f), 2, 2, 'x', 3000, {500, 900, -300, 100});
        scene.view().add(floor);
        scene.view().add(wall);
        TurntableCamera& camera = scene.view().camera();
        camera.set_fov(fov);
        camera.set_range();
        const Vector centre = camera.center();
        QVERIFY(close(centre, {2000, 700, -100}, 1e-6));
        const std::array<double, 6> box{1000, 3000, 500, 900, -300, 100};
        for (double elevation : {-90.0, -30.0, 0.0, 45.0, 90.0}) {
            for (double azimuth : {0.0, 37.0, 90.0, 135.0, 200.0, -90.0}) {
                camera.set_elevation(elevation);
                camera.set_azimuth(azimuth);
                QVERIFY2(
                    in_sight(scene.view(), box),
                    qPrintable(QString("elevation %1 azimuth %2").arg(elevation).arg(azimuth)));
            }
        }
    }

    void set_range_fits_the_data_not_the_axis_at_the_origin() {
        SceneWindow scene;
        XYZAxis axis;
        scene.view().add(axis);
        TurntableCamera& camera = scene.view().camera();
        // Alone, the axis is what there is to see.
        camera.set_range();
        QVERIFY(close(camera.center(), {0.5, 0.5, 0.5}));
        // A survey numbered from inline 1000 and crossline 2000, 1.2 s deep.
        ImageSection inline_section(std::vector<float>(4, 0.f), 2, 2, 'x', 1000,
                                    {2000, 2250, -1200, 0});
        ImageSection crossline_section(std::vector<float>(4, 0.f), 2, 2, 'y', 2000,
                                       {1000, 1200, -1200, 0});
        scene.view().add(inline_section);
        scene.view().add(crossline_section);
        const std::array<double, 6> survey{1000, 1200, 2000, 2250, -1200, 0};
        QCOMPARE(camera.fitted_bounds(), survey);
        camera.set_range();
        QVERIFY(close(camera.center(), {1100, 2125, -600}, 1e-6));
        const double diagonal = std::sqrt(1.1 * 1.1 * (200 * 200 + 250 * 250 + 1200 * 1200));
        QVERIFY(camera.scale_factor() < 1.01 * diagonal / std::cos(M_PI / 8));
        // The axis stays drawn.
        QCOMPARE(axis.parent(), &scene.view());
        QVERIFY(axis.visible());
    }

    void set_range_on_an_empty_view_changes_nothing() {
        SceneWindow scene;
        TurntableCamera& camera = scene.view().camera();
        camera.set_center({1, 2, 3});
        camera.set_scale_factor(7.0);
        camera.set_range();
        QCOMPARE(camera.center(), (Vector{1, 2, 3}));
        QCOMPARE(camera.scale_factor(), 7.0);
    }

    void an_elevation_set_directly_is_kept_and_only_drags_clamp_it() {
        SceneWindow scene;
        TurntableCamera& camera = scene.view().camera();
        camera.set_azimuth(0.0);
        camera.set_elevation(120.0);  // over the top: from the north, upside down
        QCOMPARE(camera.elevation(), 120.0);
        const double half = std::sqrt(3.0) / 2.0;
        QVERIFY(close(direction_of_projection(camera), {0, -0.5, -half}));
        QVERIFY(close(view_up(camera), {0, half, -0.5}));
        camera.set_elevation(-95.0);
        QCOMPARE(camera.elevation(), -95.0);
        drag(scene.native(), Qt::LeftButton, {100, 100}, {100, 90});
        QCOMPARE(camera.elevation(), -90.0);
    }

    void the_mouse_orbits_zooms_pans_and_widens() {
        SceneWindow scene;
        QWidget& native = scene.native();
        TurntableCamera& camera = scene.view().camera();
        camera.set_scale_factor(10.0);

        drag(native, Qt::LeftButton, {100, 100},
             {120, 100});  // right: the scene turns with the mouse
        QCOMPARE(camera.azimuth(), 20.0);
        drag(native, Qt::LeftButton, {100, 100}, {100, 300});  // far down: stops at the top view
        QCOMPARE(camera.elevation(), 90.0);

        wheel(native, 1);
        QCOMPARE(camera.scale_factor(), 10.0 / 1.1);
        wheel(native, -1);
        QVERIFY(std::abs(camera.scale_factor() - 10.0) < 1e-9);
        drag(native, Qt::RightButton, {100, 100}, {100, 80});  // up: closer
        QVERIFY(camera.scale_factor() < 10.0);

        const Vector before = camera.center();
        drag(native, Qt::LeftButton, {100, 100}, {110, 100}, Qt::ShiftModifier);
        QVERIFY(!close(camera.center(), before));
        QCOMPARE(camera.azimuth(), 20.0);  // panned, not turned

        const double fov = camera.fov();
        drag(native, Qt::RightButton, {100, 100}, {100, 50}, Qt::ShiftModifier);
        QVERIFY(camera.fov() > fov);
        drag(native, Qt::RightButton, {100, 100}, {100, 1000}, Qt::ShiftModifier);
        QCOMPARE(camera.fov(), 0.0);  // down to orthographic, no further
    }

    void a_view_that_is_not_interactive_ignores_the_mouse() {
        SceneWindow scene;
        scene.view().set_interactive(false);
        TurntableCamera& camera = scene.view().camera();
        drag(scene.native(), Qt::LeftButton, {100, 100}, {150, 150});
        wheel(scene.native(), 3);
        QCOMPARE(camera.azimuth(), 30.0);
        QCOMPARE(camera.elevation(), 30.0);
        QCOMPARE(camera.scale_factor(), 1.0);
    }

    void keys_do_not_reach_vtk() {
        SceneWindow scene;
        // VTK's own style would switch to wireframe, reset the camera or quit on these.
        for (char key : {'e', 'q', 'r', 'w', 'f'}) QTest::keyClick(&scene.native(), key);
        QCOMPARE(scene.view().camera().azimuth(), 30.0);
        QVERIFY(scene.native().isVisible());
    }
};

KORVEX_RENDER_TEST_MAIN(TestTurntableCamera)
#include "tst_turntable_camera.moc"
