// The viewer's named camera actions on a scene that is never shown: the six directions,
// the two projections and the fit.
#include <QTest>

#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/widgets/cube_viewer/view_camera.h"
#include "tests/support/scene_probe.h"
#include "tests/support/test_main.h"

using namespace korvex;
using Vector = std::array<double, 3>;
using Action = void (widgets::ViewCamera::*)();
Q_DECLARE_METATYPE(Vector)
Q_DECLARE_METATYPE(Action)

namespace {

// A canvas with its view and the camera part over it, with no window.
struct Scene {
    scene::SceneCanvas canvas;
    scene::ViewBox& view = *canvas.add_view();
    scene::TurntableCamera& camera = view.camera();
    widgets::ViewCamera actions{camera};
};

bool close(const Vector& a, const Vector& b) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::abs(a[i] - b[i]) > 1e-9 * std::max(1.0, std::abs(b[i]))) return false;
    }
    return true;
}

}  // namespace

class TestViewCamera : public QObject {
    Q_OBJECT

private slots:
    void named_directions_turn_the_camera_and_nothing_else_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<double>("elevation");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<Vector>("looking");
        using C = widgets::ViewCamera;
        QTest::newRow("top") << Action(&C::look_from_top) << 90.0 << 0.0 << Vector{0, 0, -1};
        QTest::newRow("bottom") << Action(&C::look_from_bottom) << -90.0 << 0.0 << Vector{0, 0, 1};
        QTest::newRow("north") << Action(&C::look_from_north) << 0.0 << 180.0 << Vector{0, -1, 0};
        QTest::newRow("south") << Action(&C::look_from_south) << 0.0 << 0.0 << Vector{0, 1, 0};
        QTest::newRow("west") << Action(&C::look_from_west) << 0.0 << -90.0 << Vector{1, 0, 0};
        QTest::newRow("east") << Action(&C::look_from_east) << 0.0 << 90.0 << Vector{-1, 0, 0};
    }

    void named_directions_turn_the_camera_and_nothing_else() {
        QFETCH(Action, action);
        QFETCH(double, elevation);
        QFETCH(double, azimuth);
        QFETCH(Vector, looking);
        Scene scene;
        scene.camera.set_center({10, 20, 30});
        scene.camera.set_scale_factor(42);
        scene.camera.set_fov(30);
        (scene.actions.*action)();
        QCOMPARE(scene.camera.elevation(), elevation);
        QCOMPARE(scene.camera.azimuth(), azimuth);
        QCOMPARE(testing::direction_of_projection(scene.camera), looking);
        QCOMPARE(scene.camera.center(), (Vector{10, 20, 30}));
        QCOMPARE(scene.camera.scale_factor(), 42.0);
        QCOMPARE(scene.camera.fov(), 30.0);
    }

    void projections_switch_between_orthogonal_and_ninety_degrees() {
        Scene scene;
        scene.camera.set_fov(30);
        scene.actions.orthogonal();
        QCOMPARE(scene.camera.fov(), 0.0);
        QVERIFY(testing::parallel_projection(scene.camera));
        scene.actions.look_from_east();  // a direction keeps the projection
        QVERIFY(testing::parallel_projection(scene.camera));
        // Not the 30 degrees the camera had: perspective is always the same 90.
        scene.actions.perspective();
        QCOMPARE(scene.camera.fov(), 90.0);
        QVERIFY(!testing::parallel_projection(scene.camera));
        QCOMPARE(testing::view_angle(scene.camera), 90.0);
    }

    void fit_centres_the_data_not_the_axis_and_looks_down() {
        Scene scene;
        scene::XYZAxis axis;
        scene.view.add(axis);
        scene::ImageSection section(std::vector<float>(4, 0.f), 2, 2, 'y', 800.0,
                                    scene::PlaneExtent{1000, 3000, -500, 200});
        scene.view.add(section);
        scene.camera.set_scale_factor(1);
        scene.actions.fit_from_top();
        QCOMPARE(scene.camera.elevation(), 90.0);
        QCOMPARE(scene.camera.azimuth(), 0.0);
        QVERIFY(close(scene.camera.center(), {2000, 800, -150}));
        // Wide enough for the section's 2000 units under any turn.
        QVERIFY(scene.camera.scale_factor() >= 2000);
    }

    void fit_of_an_empty_view_keeps_the_range_and_looks_down() {
        Scene scene;
        scene.camera.set_center({1, 2, 3});
        scene.camera.set_scale_factor(5);
        scene.actions.fit_from_top();
        QCOMPARE(scene.camera.center(), (Vector{1, 2, 3}));
        QCOMPARE(scene.camera.scale_factor(), 5.0);
        QCOMPARE(scene.camera.elevation(), 90.0);
    }
};

KORVEX_TEST_GUILESS_MAIN(TestViewCamera)
#include "tst_view_camera.moc"
