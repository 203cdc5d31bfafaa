// What is under a pixel, answered from geometry, against what the canvas draws there. Run
// once at the screen's own pixel ratio and once more with QT_SCALE_FACTOR=2 (see
// CMakeLists.txt): every expectation is worked out in device pixels.
#include <QImage>
#include <QTest>
#include <cmath>
#include <memory>

#include <vtkActor.h>
#include <vtkOpenGLRenderWindow.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>

#include "korvex/scene/image_section.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;
using korvex::testing::SceneWindow;

namespace {

double ratio_of(SceneWindow& scene) { return scene.native().devicePixelRatioF(); }

// The device pixel a Qt position picks, as an image position.
QPoint device_pixel(SceneWindow& scene, const QPoint& pos) {
    const double ratio = ratio_of(scene);
    return {int(std::floor(pos.x() * ratio)), int(std::floor(pos.y() * ratio))};
}

// A flat-coloured square section on the plane normal to `axis`.
std::unique_ptr<ImageSection> flat(char axis, double position, float grey, PlaneExtent extent) {
    return std::make_unique<ImageSection>(std::vector<float>(4, grey), 2, 2, axis, position, extent,
                                          "gray", std::array<double, 2>{0.0, 1.0});
}

// Unlit, so that every pixel of the visual has its one colour.
void unlit(const Visual& visual) {
    vtkActor::SafeDownCast(VtkAccess::prop(visual))->GetProperty()->LightingOff();
}

// Where a scene point is drawn, in display coordinates (device pixels, origin bottom
// left), as VTK itself projects it.
std::array<double, 2> drawn_at(ViewBox& view, const std::array<double, 3>& point) {
    vtkRenderer* renderer = VtkAccess::renderer(view);
    renderer->SetWorldPoint(point[0], point[1], point[2] * view.z_scale(), 1.0);
    renderer->WorldToDisplay();
    return {renderer->GetDisplayPoint()[0], renderer->GetDisplayPoint()[1]};
}

// Which of the scene's visuals each drawn colour belongs to.
struct Palette {
    std::vector<std::pair<QColor, const Visual*>> colours;

    const Visual* owner(const QColor& drawn) const {
        for (const auto& [colour, visual] : colours) {
            if (std::abs(drawn.red() - colour.red()) <= 8 &&
                std::abs(drawn.green() - colour.green()) <= 8 &&
                std::abs(drawn.blue() - colour.blue()) <= 8)
                return visual;
        }
        return nullptr;
    }
};

// Every Qt pixel of the window whose pick is not the visual drawn there; at most a
// few are named.
QString disagreements(SceneWindow& scene, const Palette& palette, int* count) {
    const QImage image = scene.canvas().render();
    QString named;
    *count = 0;
    for (int y = 0; y < scene.native().height(); ++y) {
        for (int x = 0; x < scene.native().width(); ++x) {
            const QPoint pos(x, y);
            const Visual* drawn = palette.owner(image.pixelColor(device_pixel(scene, pos)));
            const Visual* picked = scene.canvas().visual_at(pos);
            if (drawn == picked) continue;
            if (++*count <= 5) {
                named += QString(" (%1, %2): drawn %3 (%4), picked %5;")
                             .arg(x)
                             .arg(y)
                             .arg(drawn ? drawn->text() : "nothing")
                             .arg(image.pixelColor(device_pixel(scene, pos)).name())
                             .arg(picked ? picked->text() : "nothing");
            }
        }
    }
    return named;
}

}  // namespace

class TestScenePicking : public QObject {
    Q_OBJECT

private slots:
    // Each pixel drawn whole, by the one visual that covers its centre, as the application
    // draws on a software renderer: blended edges would belong to no one visual.
    void initTestCase() { vtkOpenGLRenderWindow::SetGlobalMaximumNumberOfMultiSamples(0); }

    void the_pixel_ratio_is_the_one_asked_for() {
        SceneWindow scene;
        const QByteArray asked = qgetenv("QT_SCALE_FACTOR");
        QCOMPARE(ratio_of(scene), asked.isEmpty() ? ratio_of(scene) : asked.toDouble());
        QCOMPARE(scene.canvas().render().size(), QSize(200, 200) * ratio_of(scene));
    }

    void every_pixel_picks_the_visual_drawn_there_data() {
        QTest::addColumn<double>("fov");
        QTest::addColumn<double>("z_scale");
        QTest::newRow("perspective") << 45.0 << 1.0;
        QTest::newRow("orthographic") << 0.0 << 1.0;
        QTest::newRow("perspective, vertical scale") << 30.0 << 0.4;
    }

    // Three crossing sections, a wide diagonal line, an axis and points, seen at an angle
    // in a window wider than tall: pick and picture agree on every pixel, edges included.
    void every_pixel_picks_the_visual_drawn_there() {
        QFETCH(double, fov);
        QFETCH(double, z_scale);
        SceneWindow scene(180, 130);
        scene.view().set_bgcolor(Color(0.0, 0.0, 1.0));
        const PlaneExtent square{-1.0, 1.0, -1.0, 1.0};
        auto across_x = flat('x', 0.0, 0.0f, square);
        auto across_y = flat('y', 0.2, 0.5f, square);
        auto across_z = flat('z', -0.3, 1.0f, square);
        LineVisual diagonal({{-1.4, -1.2, -0.9}, {1.3, 1.1, 1.0}}, LineVisual::Connect::Strip,
                            Color(1.0, 0.0, 0.0), 5.0);
        LineVisual thin({{-1.2, 1.2, 0.8}, {1.2, 0.9, -0.8}}, LineVisual::Connect::Strip,
                        Color(1.0, 1.0, 0.0), 1.0);
        PointVisual points({{0.7, -0.6, 0.5}, {-0.5, 0.6, -0.3}, {1.2, 1.2, 1.2}},
                           Color(0.0, 1.0, 0.0), 11.0);
        unlit(points);
        for (Visual* visual : std::initializer_list<Visual*>{
                 across_x.get(), across_y.get(), across_z.get(), &diagonal, &thin, &points})
            scene.view().add(*visual);
        scene.view().set_z_scale(z_scale);
        TurntableCamera& camera = scene.view().camera();
        camera.set_fov(fov);
        camera.set_azimuth(37.0);
        camera.set_elevation(24.0);
        camera.set_range();

        Palette palette{{{QColor(0, 0, 0), across_x.get()},
                         {QColor(128, 128, 128), across_y.get()},
                         {QColor(255, 255, 255), across_z.get()},
                         {QColor(255, 0, 0), &diagonal},
                         {QColor(255, 255, 0), &thin},
                         {QColor(0, 255, 0), &points},
                         {QColor(0, 0, 255), nullptr}}};
        int count = 0;
        const QString named = disagreements(scene, palette, &count);
        QVERIFY2(count == 0, qPrintable(QString("%1 pixels:%2").arg(count).arg(named)));
    }

    // Looking down on 4 x 4 units in 200 x 200 Qt pixels: the square from -1 to 1 spans Qt
    // pixels 50 to 150, its edges falling between device pixels at any ratio.
    void a_section_ends_where_it_is_drawn() {
        SceneWindow scene;
        scene.look_down(4.0);
        auto section = flat('z', 0.0, 0.0f, {-1.0, 1.0, -1.0, 1.0});
        auto behind = flat('z', -1.0, 0.5f, {-1.0, 1.6, -1.0, 1.0});  // beyond the right edge
        scene.view().add(*section);
        scene.view().add(*behind);
        const QImage image = scene.canvas().render();
        const auto drawn = [&](QPoint pos) { return image.pixelColor(device_pixel(scene, pos)); };
        // Inside along each edge; one and two pixels out, on the background or on the
        // section behind.
        for (const QPoint& inside : {QPoint(50, 100), QPoint(149, 100), QPoint(100, 50),
                                     QPoint(100, 149), QPoint(100, 100)}) {
            QCOMPARE(drawn(inside), QColor(Qt::black));
            QCOMPARE(scene.canvas().visual_at(inside), section.get());
        }
        for (const QPoint& outside :
             {QPoint(49, 100), QPoint(48, 100), QPoint(100, 49), QPoint(100, 151)}) {
            QCOMPARE(drawn(outside), QColor(Qt::white));
            QCOMPARE(scene.canvas().visual_at(outside), nullptr);
            QVERIFY(!scene.canvas().pick_point(outside).has_value());
        }
        for (const QPoint& outside : {QPoint(150, 100), QPoint(151, 100)}) {
            QCOMPARE(drawn(outside), QColor(128, 128, 128));
            QCOMPARE(scene.canvas().visual_at(outside), behind.get());
            QCOMPARE(scene.canvas().pick_point(outside)->at(2), -1.0);
        }
        // Off the canvas there is nothing to pick.
        QCOMPARE(scene.canvas().visual_at({-1, 100}), nullptr);
        QCOMPARE(scene.canvas().visual_at({100, 200}), nullptr);
    }

    void the_front_visual_wins_and_hidden_ones_are_looked_through() {
        SceneWindow scene;
        scene.look_down(4.0);
        auto back = flat('z', -1.0, 0.0f, {-1.8, 1.8, -1.8, 1.8});
        auto front = flat('z', 0.5, 1.0f, {-1.0, 1.0, -1.0, 1.0});
        scene.view().add(*front);  // attached first: order must not matter
        scene.view().add(*back);
        const QPoint middle(100, 100), beside(60, 40);
        QCOMPARE(scene.canvas().visual_at(middle), front.get());
        QCOMPARE(scene.canvas().visual_at(beside), back.get());
        // Out of sight, out of reach: hidden, unpickable or fully transparent.
        front->set_visible(false);
        QCOMPARE(scene.canvas().visual_at(middle), back.get());
        front->set_visible(true);
        front->set_pickable(false);
        QCOMPARE(scene.canvas().visual_at(middle), back.get());
        QCOMPARE(scene.canvas().pick_point(middle)->at(2), -1.0);
        front->set_pickable(true);
        front->set_opacity(0.0);
        QCOMPARE(scene.canvas().visual_at(middle), back.get());
        QCOMPARE(scene.canvas().render().pixelColor(device_pixel(scene, middle)), QColor(0, 0, 0));
        front->set_opacity(0.5);  // half seen is seen
        QCOMPARE(scene.canvas().visual_at(middle), front.get());
        // Seen from below, the other one is in front.
        scene.view().camera().set_elevation(-90.0);
        QCOMPARE(scene.canvas().visual_at(middle), back.get());
    }

    // A horizontal line four device pixels wide along y = 0 covers the two device rows
    // each side of the middle of the window, and no others.
    void a_line_is_hit_on_its_own_pixels_only() {
        SceneWindow scene;
        scene.look_down(4.0);
        LineVisual line({{-1.5, 0.0, 0.0}, {1.5, 0.0, 0.0}}, LineVisual::Connect::Segments,
                        Color(1.0, 0.0, 0.0), 4.0);
        scene.view().add(line);
        const QImage image = scene.canvas().render();
        const double middle = 100 * ratio_of(scene);
        for (int y = 94; y <= 106; ++y) {
            const QPoint pos(70, y);
            const int row = device_pixel(scene, pos).y();
            const bool on_line = std::abs(row + 0.5 - middle) <= 2.0;
            const QString where = QString("Qt row %1, device row %2").arg(y).arg(row);
            QVERIFY2((image.pixelColor(device_pixel(scene, pos)) == QColor(Qt::red)) == on_line,
                     qPrintable(where));
            QVERIFY2((scene.canvas().visual_at(pos) == &line) == on_line, qPrintable(where));
        }
        // Beyond its ends nothing is drawn, nor picked.
        QCOMPARE(scene.canvas().visual_at({100 + 75 + 2, 100}), nullptr);
        QCOMPARE(scene.canvas().visual_at({100 + 75 - 2, 100}), &line);
        // The point picked is on the line, under the pixel.
        const auto point = scene.canvas().pick_point({70, 100});
        QVERIFY(point.has_value());
        QCOMPARE((*point)[1], 0.0);
        QCOMPARE((*point)[2], 0.0);
        const double x = (device_pixel(scene, {70, 100}).x() + 0.5) / (50 * ratio_of(scene)) - 2;
        QVERIFY2(std::abs((*point)[0] - x) < 1e-9, qPrintable(QString::number((*point)[0])));
    }

    void the_axis_is_hit_on_its_segments() {
        SceneWindow scene;
        scene.look_down(4.0);
        XYZAxis axis;
        scene.view().add(axis);
        QCOMPARE(scene.canvas().visual_at({125, 100}), &axis);  // on x, half a unit out
        QCOMPARE(scene.canvas().visual_at({100, 75}), &axis);   // on y
        QCOMPARE(scene.canvas().visual_at({125, 103}), nullptr);
        QCOMPARE(scene.canvas().visual_at({97, 75}), nullptr);
    }

    // Points of 10 device pixels: a pixel whose centre lies within 5 of a point's.
    void a_point_is_hit_within_its_disc_and_picks_itself() {
        SceneWindow scene;
        scene.look_down(4.0);
        const double ratio = ratio_of(scene);
        PointVisual points({{0.0, 0.0, 0.0}, {0.02, 0.0, 0.5}, {-1.0, -1.0, 0.0}},
                           Color(0.0, 1.0, 0.0), 10.0);
        auto section = flat('z', -0.5, 0.0f, {-1.5, 1.5, -1.5, 1.5});
        auto floor_section = flat('z', -1.0, 0.0f, {-1.5, 1.5, -1.5, 1.5});
        unlit(points);
        scene.view().add(points);
        scene.view().add(*section);
        // Over each other, the higher point is nearer the eye looking down.
        QCOMPARE(scene.canvas().pick_point({100, 100}), std::optional<Point3>({0.02, 0.0, 0.5}));
        // Around the lower left point (at Qt pixel 50, 150): in the disc, then beside it.
        const auto distance = [&](QPoint pos) {
            const QPoint device = device_pixel(scene, pos);
            return std::hypot(device.x() + 0.5 - 50 * ratio, device.y() + 0.5 - 150 * ratio);
        };
        for (int dx = -8; dx <= 8; ++dx) {
            const QPoint pos(50 + dx, 150);
            const bool in_disc = distance(pos) <= 5.0;
            QVERIFY2((scene.canvas().visual_at(pos) == &points) == in_disc,
                     qPrintable(QString("%1 from the point").arg(distance(pos))));
            if (!in_disc) QCOMPARE(scene.canvas().visual_at(pos), section.get());
        }
        QCOMPARE(scene.canvas().pick_point({50, 150}), std::optional<Point3>({-1.0, -1.0, 0.0}));
        // A point lying on a section is drawn over it.
        points.set_data({{1.0, 1.0, -0.5}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}});
        scene.view().add(*floor_section);
        QCOMPARE(scene.canvas().visual_at({150, 50}), &points);
        QCOMPARE(scene.canvas().render().pixelColor(device_pixel(scene, {150, 50})),
                 QColor(0, 255, 0));
        // So is a line.
        LineVisual line({{-1.5, 0.5, -0.5}, {1.5, 0.5, -0.5}}, LineVisual::Connect::Segments,
                        Color(1.0, 0.0, 0.0), 3.0);
        scene.view().add(line);
        QCOMPARE(scene.canvas().visual_at({80, 75}), &line);
        QCOMPARE(scene.canvas().render().pixelColor(device_pixel(scene, {80, 75})),
                 QColor(255, 0, 0));
    }

    // The point comes from the ray: on the section's plane, and drawn exactly at the
    // pixel's centre, whatever the camera and the vertical scale.
    void the_picked_point_is_on_the_plane_under_the_pixel_data() {
        QTest::addColumn<double>("fov");
        QTest::addColumn<double>("z_scale");
        QTest::newRow("perspective") << 45.0 << 1.0;
        QTest::newRow("orthographic, vertical scale") << 0.0 << 0.25;
        QTest::newRow("perspective, vertical scale") << 60.0 << 3.0;
    }

    void the_picked_point_is_on_the_plane_under_the_pixel() {
        QFETCH(double, fov);
        QFETCH(double, z_scale);
        SceneWindow scene;
        auto section = flat('y', 2.5, 0.5f, {-4.0, 4.0, -3.0, 1.0});
        scene.view().add(*section);
        scene.view().set_z_scale(z_scale);
        scene.view().camera().set_fov(fov);
        scene.view().camera().set_range();
        const int height = scene.canvas().render().height();
        const double ratio = ratio_of(scene);
        for (const Point3& inside :
             {Point3{0.0, 2.5, -1.0}, Point3{3.0, 2.5, 0.5}, Point3{-3.5, 2.5, -2.5}}) {
            const auto aim = drawn_at(scene.view(), inside);
            const QPoint pos(int(aim[0] / ratio), int((height - aim[1]) / ratio));
            const PickResult pick = scene.canvas().pick(pos);
            QCOMPARE(pick.visual, section.get());
            QVERIFY(pick.point.has_value());
            QCOMPARE((*pick.point)[1], 2.5);
            const auto at = drawn_at(scene.view(), *pick.point);
            const QPoint device = device_pixel(scene, pos);
            QVERIFY2(std::abs(at[0] - (device.x() + 0.5)) < 1e-6 &&
                         std::abs(at[1] - (height - device.y() - 0.5)) < 1e-6,
                     qPrintable(QString("drawn at %1, %2").arg(at[0]).arg(at[1])));
        }
    }
};

KORVEX_RENDER_TEST_MAIN(TestScenePicking)
#include "tst_scene_picking.moc"
