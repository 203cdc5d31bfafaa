// Whole pictures of small scenes, compared with baselines: what pixel probes miss, such as
// a segment drawn in the wrong colour or a section turned the wrong way, shows here, and a
// failure leaves the picture to look at.
#include <QOpenGLWidget>
#include <QTest>

#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "tests/support/image_baseline.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;
using korvex::testing::SceneWindow;

namespace {

constexpr int SIZE = 96;

// Four rows from dark to light along y, two columns, on the plane z = 0.
ImageSection ramp_section() {
    return ImageSection({0.0f, 0.0f, 0.33f, 0.33f, 0.67f, 0.67f, 1.0f, 1.0f}, 4, 2, 'z', 0.0,
                        {-1.0, 1.0, -1.0, 1.0}, "gray", {0.0, 1.0});
}

}  // namespace

class TestScenePictures : public QObject {
    Q_OBJECT

private slots:
    void a_section_and_the_axis_seen_from_above() {
        SceneWindow scene(SIZE, SIZE);
        scene.look_down(3.0);
        ImageSection section = ramp_section();
        XYZAxis axis;
        scene.view().add(section);
        scene.view().add(axis);
        KORVEX_COMPARE_BASELINE(scene.canvas().render(), "section_and_axis_from_above");
    }

    void a_section_turned_round_then_recoloured_then_hidden() {
        SceneWindow scene(SIZE, SIZE);
        scene.look_down(4.0);
        // Two rows: row 0 dark, row 1 light; its extent runs down y, so row 0 is on top.
        ImageSection section({0, 0, 1, 1}, 2, 2, 'z', 0.0, {-1, 1, 1, -1}, "gray", {0.0, 1.0});
        scene.view().add(section);
        KORVEX_COMPARE_BASELINE(scene.canvas().render(), "section_turned_round");
        section.set_colormap("gray_r");  // in place
        KORVEX_COMPARE_BASELINE(scene.canvas().render(), "section_turned_round_reversed");
        section.set_position(-100.0);  // still seen from above, behind nothing
        section.set_visible(false);
        QCOMPARE(scene.canvas().render().pixelColor(SIZE / 2, SIZE / 2), QColor(Qt::white));
    }

    // The window shows VTK's frame pixel for pixel: not flipped, shifted, blurred or cut;
    // at one device pixel per Qt pixel and, from a second run, at two.
    void the_screen_shows_the_frame_drawn() {
        SceneWindow scene(SIZE + 7, SIZE);  // an odd width shows a row-length fault
        ImageSection section = ramp_section();
        XYZAxis axis;
        scene.view().add(section);
        scene.view().add(axis);
        scene.view().camera().set_range();
        QImage drawn = scene.canvas().render().convertToFormat(QImage::Format_RGB32);
        QImage shown = static_cast<QOpenGLWidget&>(scene.native())
                           .grabFramebuffer()
                           .convertToFormat(QImage::Format_RGB32);
        drawn.setDevicePixelRatio(1.0);
        shown.setDevicePixelRatio(1.0);
        QCOMPARE(shown.size(), drawn.size());
        QVERIFY(shown == drawn);
    }

    void the_axis_in_perspective_from_the_default_direction() {
        SceneWindow scene(SIZE, SIZE);
        XYZAxis axis;
        scene.view().set_bgcolor(Color("black"));
        scene.view().add(axis);
        scene.view().camera().set_range();
        KORVEX_COMPARE_BASELINE(scene.canvas().render(), "axis_in_perspective");
    }
};

KORVEX_RENDER_TEST_MAIN(TestScenePictures)

#include "tst_scene_pictures.moc"
