// Whole pictures of small scenes, compared with baselines: what pixel probes miss, such as
// a segment drawn in the wrong colour or a section turned the wrong way, shows here, and a
// failure leaves the picture to look at.
#include <QOpenGLWidget>
#include <QTest>
#include <cmath>
#include <functional>

#include "korvex/scene/image_section.h"
#include "korvex/scene/orientation_marker.h"
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

// The unit direction, in picture pixels (y down), from the centre of `area` (device pixels,
// origin bottom left) to the pixels of `picture` there that `is` picks.
QPointF direction_in(const QImage& picture, const std::array<int, 4>& area,
                     const std::function<bool(const QColor&)>& is) {
    const QPointF centre(area[0] + area[2] / 2.0, picture.height() - area[1] - area[3] / 2.0);
    QPointF sum;
    for (int y = picture.height() - area[1] - area[3]; y < picture.height() - area[1]; ++y)
        for (int x = area[0]; x < area[0] + area[2]; ++x)
            if (is(picture.pixelColor(x, y))) sum += QPointF(x, y) - centre;
    const double length = std::hypot(sum.x(), sum.y());
    return length > 0.0 ? sum / length : QPointF();
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

    // The compass in the corner turns with the camera: from the top at azimuth 0 north is up
    // and east right, as on a map.
    void the_compass_shows_north_and_east_as_seen_data() {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<QPointF>("north");
        QTest::addColumn<QPointF>("east");
        QTest::newRow("north up") << 0.0 << QPointF(0, -1) << QPointF(1, 0);
        QTest::newRow("north right") << 90.0 << QPointF(1, 0) << QPointF(0, 1);
        QTest::newRow("north down") << 180.0 << QPointF(0, 1) << QPointF(-1, 0);
    }
    void the_compass_shows_north_and_east_as_seen() {
        QFETCH(double, azimuth);
        QFETCH(QPointF, north);
        QFETCH(QPointF, east);
        SceneWindow scene(400, 300);
        OrientationMarker compass(scene.view());
        scene.look_down(10.0);
        scene.view().camera().set_azimuth(azimuth);
        const QImage picture = scene.canvas().render();
        const auto area = compass.corner();
        QCOMPARE(area[2], 60);  // a fifth of the shorter side
        const QPointF green = direction_in(picture, area, [](const QColor& c) {
            return c.green() > 100 && c.red() < 90 && c.blue() < 90;
        });
        const QPointF red = direction_in(picture, area, [](const QColor& c) {
            return c.red() > 120 && c.green() < 90 && c.blue() < 90;
        });
        const auto dot = [](QPointF a, QPointF b) { return a.x() * b.x() + a.y() * b.y(); };
        QVERIFY2(dot(green, north) > 0.8,
                 qPrintable(QString("N %1 %2").arg(green.x()).arg(green.y())));
        QVERIFY2(dot(red, east) > 0.8, qPrintable(QString("E %1 %2").arg(red.x()).arg(red.y())));
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
