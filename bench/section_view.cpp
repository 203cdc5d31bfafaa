// The section view's redraw against the 3D view's frame, in the same run, both on a
// 1280 x 1024 window. The 3D frame: the axis and three 1000 x 1000 float sections, the
// camera turned, drawn and finished. The section view, a 1000 x 1000 section, medians in
// milliseconds, each change followed by a synchronous repaint:
//   section_zoom       one notch of the wheel about a point
//   section_pan        a drag of 40 pixels
//   section_colormap   another colormap and clip (the picture painted again)
//   section_new_line   another section's samples arriving (as a step to the next line)
//   section_wiggles    a drag of 40 pixels with wiggles over the colours, the traces as
//                      close as wiggles are drawn (the most of them) and every row in view
// Each with its ratio to the 3D frame (target: at most 1.0). The map view, in the same
// window, of a 2000 x 2000 survey with a hole and a ragged edge and 3000 points, 200 of them
// by name:
//   map_zoom           one notch of the wheel, the map redrawn
// And what a view opened in the window keeps, private resident memory per view, against
// what it must hold (target: at most 1.0):
//   section_view_memory  a section view on an inline of 1000 x 1000 samples, against the
//                        samples and the picture (4 bytes each per sample)
//   map_view_memory      a map view of that survey, against a picture of the map's size
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_section_view
#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cstdio>

#include <vtkGenericOpenGLRenderWindow.h>

#include "bench/figures.h"
#include "bench/section_scene.h"
#include "bench/view_memory.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/surface_format.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/widgets/map_view/map_painter.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"

namespace {

constexpr int WIDTH = 1280, HEIGHT = 1024, SAMPLES = 1000, FRAMES = 30;
constexpr int MAP_LINES = 2000, MAP_POINTS = 3000, MAP_NAMES = 200;

using korvex::bench::elapsed_ms;
using korvex::bench::median;
using korvex::widgets::SectionSamples;

double timed(const std::function<void(int)>& change, QWidget& canvas) {
    std::vector<double> spent;
    for (int i = 0; i < FRAMES; ++i) {
        spent.push_back(elapsed_ms([&] {
            change(i);
            canvas.repaint();
        }));
    }
    return median(spent);
}

void send_mouse(QWidget& canvas, QEvent::Type type, const QPoint& at) {
    QMouseEvent event(type, at, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&canvas, &event);
}

}  // namespace

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    korvex::scene::fit_multisampling_to_renderer(korvex::scene::probe_opengl());

    std::vector<std::vector<float>> sections = korvex::bench::synthetic_sections(SAMPLES);
    double frame_ms = 0;
    {
        korvex::bench::SectionScene scene(WIDTH, HEIGHT, SAMPLES);
        korvex::scene::TurntableCamera& camera = scene.canvas().view()->camera();
        vtkGenericOpenGLRenderWindow* window =
            korvex::scene::VtkAccess::render_window(scene.canvas());
        std::vector<double> frames;
        for (int i = 0; i < FRAMES; ++i) {
            frames.push_back(elapsed_ms([&] {
                camera.set_azimuth(camera.azimuth() + 3.0);
                window->Render();
                window->WaitForCompletion();
            }));
        }
        frame_ms = median(frames);
    }

    korvex::widgets::SectionView view;
    view.resize(WIDTH, HEIGHT);
    view.show();
    view.show_section("iline", 1, SectionSamples{SAMPLES, SAMPLES, sections[0]},
                      {"Crossline", 1, 1}, {"Time (ms)", 0, 4});
    // A repaint before the window is on the screen paints nothing, and would time nothing.
    if (!QTest::qWaitForWindowExposed(&view)) return 1;
    QWidget& canvas = view.canvas();
    const QPoint middle = canvas.rect().center();

    const double zoom_ms = timed(
        [&](int i) {
            const int notches = i % 2 ? -1 : 1;
            QWheelEvent wheel(middle + QPoint(i, i), canvas.mapToGlobal(middle), {},
                              {0, 120 * notches}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(&canvas, &wheel);
        },
        canvas);
    // A drag of 40 pixels, to the right and back in turn.
    const auto pan = [&](int i) {
        const QPoint to = middle + QPoint(i % 2 ? -40 : 40, 0);
        send_mouse(canvas, QEvent::MouseButtonPress, middle);
        send_mouse(canvas, QEvent::MouseMove, to);
        send_mouse(canvas, QEvent::MouseButtonRelease, to);
    };
    const double pan_ms = timed(pan, canvas);
    const QString colormaps[] = {"gray", "seismic"};
    const double colormap_ms =
        timed([&](int i) { view.canvas().set_style(colormaps[i % 2], 1.0 + i % 2); }, canvas);
    const double line_ms = timed(
        [&](int i) {
            view.show_section("iline", 1 + i, SectionSamples{SAMPLES, SAMPLES, sections[i % 3]},
                              {"Crossline", 1, 1}, {"Time (ms)", 0, 4});
        },
        canvas);

    view.set_trace_display(korvex::widgets::TraceDisplay::both);
    const double scale = korvex::widgets::WigglePainter::LEAST_SPACING;
    const double rows_fill = view.canvas().transform().plot().height() / SAMPLES / scale;
    view.canvas().set_zoom_state(QJsonObject{{"centre", QJsonArray{SAMPLES / 2, SAMPLES / 2}},
                                             {"scale", scale},
                                             {"exaggeration", rows_fill}});
    if (!view.canvas().wiggles_shown()) return 1;
    const double wiggles_ms = timed(pan, canvas);
    // A survey whose corner is cut off in steps and which has a hole in the middle.
    korvex::widgets::MapSurvey survey{"survey",
                                      QTransform(20, 10, -10, 20, 600000, 6500000),
                                      {1000, 1, MAP_LINES},
                                      {2000, 1, MAP_LINES},
                                      {},
                                      {}};
    for (int k = 0; k < 300; ++k) {
        survey.edges.emplace_back(k - 0.5, 300.5 - k, k + 0.5, 300.5 - k);
        survey.edges.emplace_back(k + 0.5, 300.5 - k, k + 0.5, 299.5 - k);
    }
    const QRectF hole(900, 750, 200, 300);
    for (const auto& [from, to] : {std::pair(hole.topLeft(), hole.topRight()),
                                   std::pair(hole.topRight(), hole.bottomRight()),
                                   std::pair(hole.bottomRight(), hole.bottomLeft()),
                                   std::pair(hole.bottomLeft(), hole.topLeft())})
        survey.edges.emplace_back(from, to);
    survey.live = korvex::widgets::MapPainter::live_bins(MAP_LINES, MAP_LINES, [&](int i, int j) {
        return i + j > 300 && !hole.contains(QPointF(i, j));
    });
    korvex::widgets::MapScene scene{
        {survey}, {{0, "iline", 700, "3D"}, {0, "xline", 900, "3D"}}, {}, {}, {}};
    for (int i = 0; i < MAP_POINTS; ++i) {
        const QPointF at =
            survey.grid_to_map.map(QPointF((i * 37) % MAP_LINES, (i * 91) % MAP_LINES));
        scene.points.push_back({at.x(), at.y(), i < MAP_NAMES ? QString("W-%1").arg(i) : QString(),
                                QColor(Qt::darkGreen)});
    }
    korvex::widgets::MapView map;
    map.resize(WIDTH, HEIGHT);
    map.show();
    map.canvas().set_scene(std::move(scene));
    if (!QTest::qWaitForWindowExposed(&map)) return 1;
    QWidget& map_canvas = map.canvas();
    const QPoint map_middle = map_canvas.rect().center();
    const double map_zoom_ms = timed(
        [&](int i) {
            QWheelEvent wheel(map_middle + QPoint(i, i), map_canvas.mapToGlobal(map_middle), {},
                              {0, i % 2 ? -120 : 120}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(&map_canvas, &wheel);
        },
        map_canvas);

    const QTemporaryDir scratch;
    const korvex::bench::ViewMemory memory =
        korvex::bench::measure_view_memory(scratch.path(), WIDTH, HEIGHT);

    std::printf("a %dx%d section in a %dx%d view against the 3D frame, medians\n", SAMPLES, SAMPLES,
                WIDTH, HEIGHT);
    korvex::bench::figure("frame", frame_ms, "ms");
    korvex::bench::figure_with_ratio("section_zoom", zoom_ms, frame_ms);
    korvex::bench::figure_with_ratio("section_pan", pan_ms, frame_ms);
    korvex::bench::figure_with_ratio("section_colormap", colormap_ms, frame_ms);
    korvex::bench::figure_with_ratio("section_new_line", line_ms, frame_ms);
    korvex::bench::figure_with_ratio("section_wiggles", wiggles_ms, frame_ms);
    korvex::bench::figure_with_ratio("map_zoom", map_zoom_ms, frame_ms);
    std::printf(
        "what each view holds: samples and picture %.1f MB a section view, a picture "
        "%.1f MB a map view\n",
        memory.section_need_mb, memory.map_need_mb);
    korvex::bench::figure("section_view_memory", memory.section_view_mb, "MB");
    korvex::bench::figure("section_view_memory_ratio",
                          memory.section_view_mb / memory.section_need_mb, "x");
    korvex::bench::figure("map_view_memory", memory.map_view_mb, "MB");
    korvex::bench::figure("map_view_memory_ratio", memory.map_view_mb / memory.map_need_mb, "x");
    return 0;
}
