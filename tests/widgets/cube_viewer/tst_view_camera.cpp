// The viewer's fit on a scene that is never shown; the directions and projections are
// tested through the canvas widget.
#include <QTest>

#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/widgets/cube_viewer/view_camera.h"
#include "tests/support/test_main.h"

using namespace korvex;
using Vector = std::array<double, 3>;

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
