// Drawing, picking and mouse dispatch on a real canvas under Xvfb.
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <set>

#include <vtkActor.h>
#include <vtkCoordinate.h>
#include <vtkProp3D.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkScalarBarActor.h>

#include "korvex/scene/box_axes.h"
#include "korvex/scene/color_bar.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/key_event.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/mouse_event.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/text_visual.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "tests/support/log_capture.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;
using korvex::testing::SceneWindow;

namespace {

// A 200 x 200 window looking down on 4 x 4 world units: 50 pixels a unit, origin
// in the middle, +x to the right, +y up.
QPoint pixel_of(double x, double y) {
    return {static_cast<int>(100 + 50 * x), static_cast<int>(100 - 50 * y)};
}

std::unique_ptr<ImageSection> flat_section(float value, PlaneExtent extent) {
    return std::make_unique<ImageSection>(std::vector<float>(4, value), 2, 2, 'z', 0.0, extent,
                                          "gray", std::array<double, 2>{0.0, 1.0});
}

bool near(const QColor& actual, const QColor& expected, int tolerance = 8) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance &&
           std::abs(actual.alpha() - expected.alpha()) <= tolerance;
}

double distance_to(const QLineF& segment, const QPointF& point) {
    const QPointF along = segment.p2() - segment.p1();
    const double t = std::clamp(
        QPointF::dotProduct(point - segment.p1(), along) / QPointF::dotProduct(along, along), 0.0,
        1.0);
    const QPointF nearest = segment.p1() + t * along;
    return std::hypot(point.x() - nearest.x(), point.y() - nearest.y());
}

// Pixels of a section or a colour bar drawn in "jet": far from grey.
bool coloured(const QColor& c) {
    return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 60;
}

// Pixels of the labels' near-black on white.
bool ink(const QColor& c) {
    return c.red() < 110 && c.green() < 110 && c.blue() < 110 && !coloured(c);
}

}  // namespace

// Records every press it is handed; throws on request.
class RecordingCanvas : public SceneCanvas {
public:
    std::vector<MouseEvent> presses;
    bool fail = false;

protected:
    void on_mouse_press(const MouseEvent& event) override {
        presses.push_back(event);
        if (fail) throw std::runtime_error("handler failed");
    }
};

// A section that records the keys it is handed, uses Page Down only, throws on request.
class KeyedSection : public ImageSection {
public:
    KeyedSection() : ImageSection({0, 1, 2, 3}, 2, 2, 'z', 0.0, {-1, 1, -1, 1}) {}
    std::vector<int> keys;
    bool fail = false;

    bool on_key_press(const KeyEvent& event) override {
        keys.push_back(event.key);
        if (fail) throw std::runtime_error("key failed");
        return event.key == Qt::Key_PageDown;
    }
};

void press_key(QWidget& widget, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class TestSceneRendering : public QObject {
    Q_OBJECT

private slots:
    void an_empty_canvas_renders_white_and_opaque_at_its_size() {
        SceneWindow scene(160, 120);
        const QImage image = scene.canvas().render();
        QCOMPARE(image.size(), QSize(160, 120) * scene.native().devicePixelRatioF());
        QCOMPARE(image.pixelColor(5, 5), QColor(255, 255, 255, 255));
        QCOMPARE(image.pixelColor(150, 110), QColor(255, 255, 255, 255));
    }

    void the_view_background_is_drawn_over_the_canvas() {
        SceneWindow scene;
        QCOMPARE(scene.view().bgcolor(), Color());  // transparent until set
        scene.view().set_bgcolor(Color("black"));
        QCOMPARE(scene.canvas().render().pixelColor(10, 10), QColor(0, 0, 0, 255));
        scene.view().set_bgcolor(Color(1, 0, 0, 0.5));
        QVERIFY(near(scene.canvas().render().pixelColor(10, 10), QColor(255, 128, 128, 255), 2));
    }

    // The colour of a flat section after each change: the table entry of the value's place
    // in the limit (256 entries), over the white background by the opacity.
    void section_colours_follow_colormap_limit_and_opacity() {
        SceneWindow scene;
        scene.look_down(4.0);
        ImageSection section(std::vector<float>(4, 1.0f), 2, 2, 'z', 0.0, {-1, 1, -1, 1}, "gray",
                             {0.0, 4.0});
        scene.view().add(section);
        const QPoint centre = pixel_of(0, 0);
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(64, 64, 64), 2));
        section.set_clim({0.0, 2.0});
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(128, 128, 128), 2));
        section.set_colormap("gray_r");
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(127, 127, 127), 2));
        section.set_clim({2.0, 3.0});  // below the limit: the lowest colour
        QCOMPARE(scene.canvas().render().pixelColor(centre), QColor(Qt::white));
        section.set_clim({-3.0, -2.0});  // above it: the highest
        QCOMPARE(scene.canvas().render().pixelColor(centre), QColor(Qt::black));
        section.set_opacity(0.5);
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(128, 128, 128), 3));
        section.set_opacity(1.0);
        section.set_colormap("seismic");
        section.set_clim({0.0, 2.0});  // the middle of blue - white - red
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(255, 255, 255), 4));

        // New samples of another size are drawn, colours kept; a missing sample is not drawn.
        const float nan = std::numeric_limits<float>::quiet_NaN();
        section.set_data({0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, nan, nan, nan}, 3, 3);
        const QImage image = scene.canvas().render();
        QVERIFY(near(image.pixelColor(pixel_of(0, -0.9)), QColor(0, 0, 255), 6));  // a quarter up
        QCOMPARE(image.pixelColor(pixel_of(0, 0.9)), QColor(Qt::white));
        section.set_data(std::vector<float>(9, 1.5f), 3, 3);  // same size, new samples
        QVERIFY(near(scene.canvas().render().pixelColor(centre), QColor(255, 0, 0), 6));
    }

    // A hole (NaN) shows what lies behind over its own cell, to half-way to its neighbours,
    // and nowhere else: neither does it eat into the traces beside it nor do they smear
    // over it. Samples are one world unit apart; the holes are the centre and a corner.
    void holes_show_the_background_over_exactly_their_cells() {
        SceneWindow scene;
        scene.look_down(4.0);
        const QColor background(0, 160, 0);
        scene.view().set_bgcolor(Color::from_qcolor(background));
        std::vector<float> samples(25, 0.5f);
        const auto hole = [](double x, double y) {
            const auto near_sample = [](double at, int index) {
                return std::abs(at - index) < 0.5;
            };
            return (near_sample(x, 0) && near_sample(y, 0)) ||
                   (near_sample(x, 2) && near_sample(y, -2));
        };
        samples[2 * 5 + 2] = samples[0 * 5 + 4] = std::numeric_limits<float>::quiet_NaN();
        ImageSection section(samples, 5, 5, 'z', 0.0, {-2, 2, -2, 2}, "gray", {0.0, 1.0});
        scene.view().add(section);
        const QImage image = scene.canvas().render();
        // Every second pixel, keeping two pixels off the cells' edges.
        const auto off_edges = [](double at) {
            return std::abs(at - std::round(at - 0.5) - 0.5) > 0.04;
        };
        for (double x = -1.94; x < 1.95; x += 0.04) {
            for (double y = -1.94; y < 1.95; y += 0.04) {
                if (!off_edges(x) || !off_edges(y)) continue;
                const QColor shown = image.pixelColor(pixel_of(x, y));
                if (hole(x, y) ? shown != background : near(shown, background, 40))
                    QFAIL(qPrintable(
                        QStringLiteral("at (%1, %2): %3").arg(x).arg(y).arg(shown.name())));
            }
        }
    }

    // However many samples a section has, one hole among them shows the background.
    void a_single_hole_among_many_samples_is_drawn_as_a_hole_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("inside") << 10 << 10;
        QTest::newRow("among the last samples") << 19 << 17;
    }
    void a_single_hole_among_many_samples_is_drawn_as_a_hole() {
        QFETCH(int, row);
        QFETCH(int, col);
        SceneWindow scene;
        scene.look_down(4.0);
        constexpr int SIDE = 20;
        std::vector<float> samples(SIDE * SIDE, 0.5f);
        samples[row * SIDE + col] = std::numeric_limits<float>::quiet_NaN();
        ImageSection section(samples, SIDE, SIDE, 'z', 0.0, {-2, 2, -2, 2}, "gray", {0.0, 1.0});
        scene.view().add(section);
        const double step = 4.0 / (SIDE - 1);
        const QImage image = scene.canvas().render();
        QCOMPARE(image.pixelColor(pixel_of(-2 + col * step, -2 + row * step)), QColor(Qt::white));
        QVERIFY(near(image.pixelColor(pixel_of(-2 + col * step, -2 + (row - 2) * step)),
                     QColor(128, 128, 128), 4));
    }

    void visual_at_finds_the_visual_under_a_pixel() {
        SceneWindow scene;
        scene.look_down(4.0);
        XYZAxis axis;
        auto section = flat_section(0.5f, {-1.8, -0.8, -1.8, -0.8});
        TextVisual label("corner", {1.5, 1.5, 0}, Color("black"));
        scene.view().add(axis);
        scene.view().add(*section);
        scene.view().add(label);
        scene.canvas().render();
        QCOMPARE(scene.canvas().visual_at(pixel_of(-1.3, -1.3)), section.get());
        QCOMPARE(scene.canvas().visual_at(pixel_of(0.5, 0.0)), &axis);  // on the x segment
        QCOMPARE(scene.canvas().visual_at(pixel_of(0.0, 0.5)), &axis);  // on the y segment
        QCOMPARE(scene.canvas().visual_at(pixel_of(1.0, -1.0)), nullptr);
        QCOMPARE(scene.canvas().visual_at(pixel_of(1.5, 1.5)), nullptr);  // labels are not picked
    }

    void pick_point_gives_the_world_point_and_the_sample_there() {
        SceneWindow scene;
        scene.look_down(4.0);
        ImageSection section({0, 1, 2, 3}, 2, 2, 'z', 0.25, {-1, 1, -1, 1}, "gray", {0, 3});
        scene.view().add(section);
        scene.canvas().render();
        const auto point = scene.canvas().pick_point(pixel_of(0.9, 0.9));
        QVERIFY(point.has_value());
        QVERIFY(std::abs((*point)[0] - 0.9) < 0.05);
        QVERIFY(std::abs((*point)[1] - 0.9) < 0.05);
        QVERIFY(std::abs((*point)[2] - 0.25) < 1e-6);
        QCOMPARE(section.value_at(*point), std::optional<float>(3.0f));
        QVERIFY(!scene.canvas().pick_point(pixel_of(1.5, 1.5)).has_value());

        // Both at once, the same answers; nothing at all over the background.
        const PickResult pick = scene.canvas().pick(pixel_of(0.9, 0.9));
        QCOMPARE(pick.visual, &section);
        QCOMPARE(pick.point, point);
        const PickResult none = scene.canvas().pick(pixel_of(1.5, 1.5));
        QCOMPARE(none.visual, nullptr);
        QVERIFY(!none.point.has_value());
    }

    void keys_go_to_the_key_target_while_it_is_in_the_view() {
        SceneWindow scene;
        KeyedSection section, other;
        scene.view().add(section);
        press_key(scene.native(), Qt::Key_PageDown);
        QVERIFY(section.keys.empty());  // nobody's keys yet

        scene.view().set_key_target(&section);
        press_key(scene.native(), Qt::Key_PageDown);
        press_key(scene.native(), Qt::Key_A);
        QCOMPARE(section.keys, std::vector<int>({Qt::Key_PageDown, Qt::Key_A}));
        QVERIFY_EXCEPTION_THROWN(scene.view().set_key_target(&other), std::logic_error);

        // A failing handler is logged, and the application goes on.
        korvex::testing::LogCapture log;
        section.fail = true;
        press_key(scene.native(), Qt::Key_PageDown);
        QVERIFY(log.contains("error", "Key press failed: key failed"));

        section.set_parent(nullptr);
        QCOMPARE(scene.view().key_target(), nullptr);
        press_key(scene.native(), Qt::Key_PageDown);
        QCOMPARE(section.keys.size(), std::size_t(3));
    }

    void a_section_above_the_centre_stays_drawn_and_picked_when_zoomed_in_data() {
        QTest::addColumn<double>("fov");
        QTest::addColumn<double>("height");
        // Zoomed in to half a unit across: the eye of a perspective view is then 0.6
        // above the centre, so its section lies between the two.
        QTest::newRow("orthographic") << 0.0 << 3.0;
        QTest::newRow("perspective") << 45.0 << 0.3;
    }

    void a_section_above_the_centre_stays_drawn_and_picked_when_zoomed_in() {
        QFETCH(double, fov);
        QFETCH(double, height);
        SceneWindow scene;
        scene.look_down(8.0);
        scene.view().camera().set_fov(fov);
        ImageSection floor(std::vector<float>(4, 1.f), 2, 2, 'z', -2.0, {-10, 10, -10, 10}, "gray",
                           {0.0, 1.0});
        ImageSection above(std::vector<float>(4, 0.f), 2, 2, 'z', height, {-1, 1, -1, 1}, "gray",
                           {0.0, 1.0});
        scene.view().add(floor);
        scene.view().add(above);
        const QPoint centre(100, 100);
        for (double zoom : {8.0, 0.5}) {
            scene.view().camera().set_scale_factor(zoom);
            const QString where = QString("zoom %1").arg(zoom);
            QVERIFY2(scene.canvas().render().pixelColor(centre).red() < 40, qPrintable(where));
            QVERIFY2(scene.canvas().visual_at(centre) == &above, qPrintable(where));
            const auto point = scene.canvas().pick_point(centre);
            QVERIFY2(point && std::abs((*point)[2] - height) < 1e-6, qPrintable(where));
        }
    }

    void the_vertical_scale_stretches_what_is_drawn_not_what_is_picked() {
        SceneWindow scene;
        scene.look_down(4.0);
        ImageSection section({0, 1, 2, 3}, 2, 2, 'z', -0.8, {-1, 1, -1, 1}, "gray", {0, 3});
        TextVisual label("bottom", {1.5, 1.5, -0.8}, Color("black"));
        scene.view().add(section);
        scene.view().set_z_scale(0.25);
        scene.view().add(label);  // attached after the change: scaled all the same
        QCOMPARE(section.bounds()[4], -0.2);
        QCOMPARE(vtkProp3D::SafeDownCast(VtkAccess::prop(label))->GetPosition()[2], -0.2);
        scene.canvas().render();
        const auto point = scene.canvas().pick_point(pixel_of(0.9, 0.9));
        QVERIFY(point.has_value());
        QVERIFY2(std::abs((*point)[2] + 0.8) < 1e-6, qPrintable(QString::number((*point)[2])));
        QCOMPARE(section.value_at(*point), std::optional<float>(3.0f));
        // A detached visual keeps its scale until a view gives it another.
        section.set_parent(nullptr);
        scene.view().set_z_scale(2.0);
        scene.view().add(section);
        QCOMPARE(section.bounds()[4], -1.6);
        QVERIFY_EXCEPTION_THROWN(scene.view().set_z_scale(0.0), korvex::utils::ValueError);
        QCOMPARE(scene.view().z_scale(), 2.0);
    }

    void box_axes_numbers_never_overprint_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("fov");
        QTest::newRow("tiny, orthographic") << 90 << 70 << 0.0;
        QTest::newRow("small, perspective") << 160 << 120 << 45.0;
        QTest::newRow("large, orthographic") << 640 << 480 << 0.0;
    }

    void box_axes_numbers_never_overprint() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, fov);
        SceneWindow scene(width, height);
        // A survey numbered from 1000 and 2000, 1.2 s deep, drawn at a tenth of its height.
        BoxAxes axes({1000, 1200, 2000, 2250, -1200, 0}, {"Inline", "Crossline", "Time (ms)"},
                     {1, 1, -1});
        LineVisual diagonal({{1000, 2000, -1200}, {1200, 2250, 0}}, LineVisual::Connect::Segments,
                            Color("black"));
        scene.view().add(axes);
        scene.view().add(diagonal);
        scene.view().set_z_scale(0.1);
        TurntableCamera& camera = scene.view().camera();
        camera.set_fov(fov);
        camera.set_range();
        int most = 0;
        for (double elevation : {90.0, 30.0, 0.0}) {
            for (double azimuth : {0.0, 30.0, 135.0}) {
                camera.set_elevation(elevation);
                camera.set_azimuth(azimuth);
                scene.canvas().render();
                const auto& labels = axes.placed();
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    for (std::size_t j = i + 1; j < labels.size(); ++j) {
                        QVERIFY2(!labels[i].rect.intersects(labels[j].rect),
                                 qPrintable(QString("\"%1\" and \"%2\" at elevation %3, azimuth %4")
                                                .arg(labels[i].text, labels[j].text)
                                                .arg(elevation)
                                                .arg(azimuth)));
                    }
                }
                most = std::max(most, int(labels.size()));
            }
        }
        // Room is used: a large view numbers every edge.
        if (width >= 640) QVERIFY2(most >= 9, qPrintable(QString::number(most)));
    }

    void survey_labels_stay_readable_from_every_preset_data() {
        QTest::addColumn<double>("elevation");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<QList<int>>("numbered");  // directions seen side on
        QTest::addColumn<int>("least");            // numbers each of them shows
        QTest::newRow("top") << 90.0 << 0.0 << QList<int>{0, 1} << 3;
        QTest::newRow("bottom") << -90.0 << 0.0 << QList<int>{0, 1} << 3;
        QTest::newRow("north") << 0.0 << 180.0 << QList<int>{0, 2} << 3;
        QTest::newRow("south") << 0.0 << 0.0 << QList<int>{0, 2} << 3;
        QTest::newRow("west") << 0.0 << -90.0 << QList<int>{1, 2} << 3;
        QTest::newRow("east") << 0.0 << 90.0 << QList<int>{1, 2} << 3;
        // Foreshortened edges meeting at shared corners leave room for fewer.
        QTest::newRow("three quarters") << 30.0 << 30.0 << QList<int>{0, 1, 2} << 1;
    }

    // A survey with its three sections and colour bar, seen from each of the viewer's
    // presets: every label placed is drawn in full, over neither a section nor the bar,
    // each numbered direction keeps its title and numbers, and every number lies nearer
    // its own edge than another (an inline number by the time axis reads as a time).
    void survey_labels_stay_readable_from_every_preset() {
        QFETCH(double, elevation);
        QFETCH(double, azimuth);
        QFETCH(QList<int>, numbered);
        QFETCH(int, least);
        SceneWindow scene(480, 360);
        BoxAxes axes({1000, 1200, 2000, 2250, -1200, 0}, {"Inline", "Crossline", "Time (ms)"},
                     {1, 1, -1});
        axes.contrasts_with_background = true;
        const std::vector<float> ramp{0.0f, 0.3f, 0.7f, 1.0f};
        ImageSection inline_section(ramp, 2, 2, 'x', 1100, {2000, 2250, -1200, 0}, "jet", {0, 1});
        ImageSection crossline_section(ramp, 2, 2, 'y', 2125, {1000, 1200, -1200, 0}, "jet",
                                       {0, 1});
        ImageSection time_slice(ramp, 2, 2, 'z', -600, {1000, 1200, 2000, 2250}, "jet", {0, 1});
        ColorBar bar("jet", {0, 1}, "Amplitude");
        for (Visual* visual : std::initializer_list<Visual*>{&axes, &inline_section,
                                                             &crossline_section, &time_slice, &bar})
            scene.view().add(*visual);
        scene.view().set_z_scale(0.1);
        TurntableCamera& camera = scene.view().camera();
        camera.set_range();
        camera.set_elevation(elevation);
        camera.set_azimuth(azimuth);
        const QImage picture = scene.canvas().render();

        std::map<int, int> numbers;
        std::set<int> titled;
        for (const BoxAxes::Label& label : axes.placed()) {
            const QString what = QString("\"%1\"").arg(label.text);
            // Display rectangles count from the bottom; the picture's rows from the top.
            const QRect rect(int(label.rect.left()), picture.height() - int(label.rect.bottom()),
                             int(label.rect.width()), int(label.rect.height()));
            int inked = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    QVERIFY2(!coloured(picture.pixelColor(x, y)),
                             qPrintable(what + " is over data"));
                    inked += ink(picture.pixelColor(x, y));
                }
            }
            QVERIFY2(inked >= 5, qPrintable(what + " is not drawn"));
            if (label.text.front().isLetter()) {
                titled.insert(label.axis);
                continue;
            }
            ++numbers[label.axis];
            const double own =
                distance_to(*axes.annotated_edges()[label.axis], label.rect.center());
            for (int axis = 0; axis < 3; ++axis) {
                const auto& edge = axes.annotated_edges()[axis];
                if (axis != label.axis && edge)
                    QVERIFY2(distance_to(*edge, label.rect.center()) > own,
                             qPrintable(what + " sits by another direction's edge"));
            }
        }
        for (int axis : numbered) {
            QVERIFY2(titled.count(axis), qPrintable(QString("direction %1 untitled").arg(axis)));
            QVERIFY2(
                numbers[axis] >= least,
                qPrintable(QString("direction %1 has %2 numbers").arg(axis).arg(numbers[axis])));
        }
    }

    void color_bars_of_several_volumes_never_overlap() {
        SceneWindow scene(400, 300);
        std::vector<std::unique_ptr<ColorBar>> bars;
        for (int i = 0; i < 4; ++i) {
            bars.push_back(
                std::make_unique<ColorBar>("jet", std::array<double, 2>{0.0, 1.0 + i}, "A"));
            scene.view().add(*bars.back());
        }
        bars[1]->set_visible(false);  // a hidden volume's bar takes no place
        scene.canvas().render();
        vtkRenderer* renderer = VtkAccess::renderer(scene.view());
        const auto area = [renderer](const ColorBar& bar) {
            auto* actor = vtkScalarBarActor::SafeDownCast(VtkAccess::prop(bar));
            const int* low = actor->GetPositionCoordinate()->GetComputedDisplayValue(renderer);
            const int* high = actor->GetPosition2Coordinate()->GetComputedDisplayValue(renderer);
            return QRect(QPoint(low[0], low[1]), QPoint(high[0] - 1, high[1] - 1));
        };
        const QRect view(0, 0, 400, 300);
        for (std::size_t i = 0; i < bars.size(); ++i) {
            if (i == 1) continue;
            QVERIFY(view.contains(area(*bars[i])));
            for (std::size_t j = i + 1; j < bars.size(); ++j)
                if (j != 1)
                    QVERIFY2(!area(*bars[i]).intersects(area(*bars[j])),
                             qPrintable(QString("bars %1 and %2").arg(i).arg(j)));
        }
    }

    // Paging a section draws a frame after frame from one angle: the axes' text must not be
    // drawn again each time, only when the view turns, zooms or is stretched.
    void box_axes_are_laid_out_again_only_when_the_view_changes() {
        SceneWindow scene(320, 240);
        BoxAxes axes({1000, 1200, 2000, 2250, -1200, 0}, {"Inline", "Crossline", "Time (ms)"},
                     {1, 1, -1});
        ColorBar bar("jet", {0, 1}, "Amplitude");
        scene.view().add(axes);
        scene.view().add(bar);
        scene.view().set_z_scale(0.1);
        scene.view().camera().set_range();
        // VTK completes the labels' parts in their first frame.
        scene.canvas().render();
        scene.canvas().render();
        const auto modified = [&axes] { return VtkAccess::prop(axes)->GetMTime(); };
        const auto laid_out = modified();
        scene.canvas().render();
        QCOMPARE(modified(), laid_out);
        const std::vector<std::function<void()>> changes{
            [&] { scene.view().camera().set_azimuth(75.0); },
            [&] { scene.view().set_z_scale(0.2); },
            [&] { bar.set_visible(false); },  // the room the bar took is free for labels
        };
        for (std::size_t i = 0; i < changes.size(); ++i) {
            const auto before = modified();
            changes[i]();
            scene.canvas().render();
            QVERIFY2(modified() > before, qPrintable(QString("change %1").arg(i)));
        }
    }

    void an_empty_axis_title_is_left_out() {
        SceneWindow scene(640, 480);
        BoxAxes axes({0, 10, 0, 10, -10, 0}, {"", "", ""});
        scene.view().add(axes);
        scene.view().camera().set_range();
        scene.canvas().render();
        QVERIFY(!axes.placed().empty());
        for (const BoxAxes::Label& label : axes.placed()) QVERIFY(!label.text.isEmpty());
    }

    void annotation_contrasts_with_the_background() {
        SceneWindow scene;
        BoxAxes axes({0, 1, 0, 1, -1, 0}, {"x", "y", "z"});
        axes.contrasts_with_background = true;
        LineVisual outline({{0, 0, 0}, {1, 1, 0}}, LineVisual::Connect::Segments, Color("red"));
        outline.contrasts_with_background = true;
        LineVisual data({{0, 0, 0}, {1, 0, 0}}, LineVisual::Connect::Segments, Color("red"));
        scene.view().add(axes);
        scene.view().add(outline);
        scene.view().add(data);
        const auto colour = [](const LineVisual& line) {
            double rgb[3];
            vtkActor::SafeDownCast(VtkAccess::prop(line))->GetProperty()->GetColor(rgb);
            return rgb[0] + rgb[1] + rgb[2];
        };
        QVERIFY(colour(outline) < 1.0);  // dark on the white canvas
        scene.view().set_bgcolor(Color("black"));
        QVERIFY(colour(outline) > 2.0);  // light on black
        double red[3];
        vtkActor::SafeDownCast(VtkAccess::prop(data))->GetProperty()->GetColor(red);
        QCOMPARE(red[0], 1.0);  // data keeps its own colour
    }

    void presses_reach_on_mouse_press_with_position_and_button() {
        QWidget window;
        RecordingCanvas canvas;
        canvas.add_view();
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(canvas.create_native());
        window.resize(200, 200);
        QVERIFY(korvex::testing::wait_until_drawn(window));

        QTest::mouseClick(canvas.native(), Qt::LeftButton, {}, QPoint(20, 30));
        QTest::mouseClick(canvas.native(), Qt::RightButton, Qt::ShiftModifier, QPoint(40, 50));
        QTest::mouseClick(canvas.native(), Qt::MiddleButton, {}, QPoint(60, 70));
        QCOMPARE(canvas.presses.size(), std::size_t(3));
        QCOMPARE(canvas.presses[0].pos, QPoint(20, 30));
        QCOMPARE(canvas.presses[0].button, MouseEvent::LEFT);
        QCOMPARE(canvas.presses[1].button, MouseEvent::RIGHT);
        QCOMPARE(canvas.presses[1].modifiers, Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(canvas.presses[2].button, MouseEvent::MIDDLE);

        // A failing handler is logged, and the application goes on.
        korvex::testing::LogCapture log;
        canvas.fail = true;
        QTest::mouseClick(canvas.native(), Qt::LeftButton, {}, QPoint(20, 30));
        QVERIFY(log.contains("error", "Mouse press failed: handler failed"));
        canvas.fail = false;
        QTest::mouseClick(canvas.native(), Qt::LeftButton, {}, QPoint(20, 30));
        QCOMPARE(canvas.presses.size(), std::size_t(5));
    }

    void render_before_the_canvas_is_shown_is_refused() {
        SceneCanvas canvas;
        canvas.add_view();
        QVERIFY_EXCEPTION_THROWN(canvas.render(), std::runtime_error);
        canvas.create_native();
        QVERIFY_EXCEPTION_THROWN(canvas.render(), std::runtime_error);
        QCOMPARE(canvas.visual_at({1, 1}), nullptr);
    }
};

KORVEX_RENDER_TEST_MAIN(TestSceneRendering)
#include "tst_scene_rendering.moc"
