// The 3D view's drawing speed on a 1280 x 1024 canvas showing the axis and three
// 1000 x 1000 float sections, against the same scene drawn by VisPy on the same display
// (bench/reference_scene.py), in the same run. Medians, milliseconds:
//   frame                the camera turned, the scene drawn and finished
//   frame_on_screen      the same, then handed through the Qt widget to the window
//   picture              a frame drawn, read back and written as a PNG
//   colormap_change      the three sections' colormap and limit changed, then a frame
//   section_move         the three sections given other samples already in memory and
//                        moved, then a frame
//   first_picture_setup  three sections from samples in memory to the first picture with
//                        them, in a viewer already shown
//   canvas_setup         the viewer itself: window, OpenGL context, VTK, its first picture
// The first three against the reference's frame and picture; the others against korvex's
// own frame (targets: 2, 2 and 10 frames; the canvas has none).
//   frame_with_holes     a frame with a missing trace (NaN samples) across each section,
//                        against the whole sections drawn in turn with it: what a survey's
//                        holes cost its frame
// Where frame_on_screen's time goes, against the reference's frame:
//   handover_empty_widget  a QOpenGLWidget that only clears, composed by Qt and swapped
//   frame_native_window    the scene in VTK's native-window widget instead, on screen
//   frame_buffer_copy      one copy of a whole frame buffer, in milliseconds
//   reference_swap         VisPy's finish and swap of a frame already drawn
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_render_frame
#include <QApplication>
#include <QDir>
#include <QOpenGLWidget>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include <vtkGenericOpenGLRenderWindow.h>

#include "bench/figures.h"
#include "bench/reference_scene.h"
#include "bench/screen_handover.h"
#include "bench/section_scene.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/surface_format.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/write_png.h"

namespace {

constexpr int WIDTH = 1280, HEIGHT = 1024, SAMPLES = 1000;
constexpr int FRAMES = 20, PICTURES = 5;

using korvex::bench::elapsed_ms;
using korvex::bench::median;

// Times `change` followed by a frame, `times` times over.
std::vector<double> changes_then_frames(int times, const std::function<void(int)>& change,
                                        const std::function<void()>& frame) {
    std::vector<double> spent;
    for (int i = 0; i < times; ++i) {
        spent.push_back(elapsed_ms([&] {
            change(i);
            frame();
        }));
    }
    return spent;
}

}  // namespace

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    korvex::scene::fit_multisampling_to_renderer(korvex::scene::probe_opengl());
    // The reference first, alone on the processor.
    const std::map<std::string, double> reference = korvex::bench::reference_scene_figures();

    std::vector<std::vector<float>> samples = korvex::bench::synthetic_sections(SAMPLES);
    std::vector<std::vector<float>> other_samples = korvex::bench::synthetic_sections(SAMPLES);
    std::unique_ptr<korvex::bench::SectionScene> scene;
    const double canvas_setup =
        elapsed_ms([&] { scene = std::make_unique<korvex::bench::SectionScene>(WIDTH, HEIGHT); });
    const double setup = elapsed_ms([&] { scene->add_sections(SAMPLES, std::move(samples)); });
    korvex::scene::TurntableCamera& camera = scene->canvas().view()->camera();
    vtkGenericOpenGLRenderWindow* window = korvex::scene::VtkAccess::render_window(scene->canvas());
    QWidget* native = scene->canvas().native();
    const auto frame = [&] {
        window->Render();
        window->WaitForCompletion();
    };
    const auto turn = [&](int) { camera.set_azimuth(camera.azimuth() + 3.0); };

    const double frame_ms = median(changes_then_frames(FRAMES, turn, frame));
    // The same sections with a missing trace across each, drawn in turn with the whole ones
    // so that both meet the same load; the shaders are compiled and the samples uploaded
    // before the timing.
    std::vector<std::unique_ptr<korvex::scene::ImageSection>> holed;
    for (int axis = 0; axis < 3; ++axis) {
        const korvex::scene::ImageSection& whole = scene->section(axis);
        std::vector<float> samples = whole.array_data();
        for (int row = 0; row < SAMPLES; ++row)
            samples[std::size_t(row) * SAMPLES + SAMPLES / 2] = std::nanf("");
        holed.push_back(std::make_unique<korvex::scene::ImageSection>(
            std::move(samples), SAMPLES, SAMPLES, whole.axis(), whole.position(), whole.extent(),
            whole.colormap(), whole.clim()));
        scene->canvas().view()->add(*holed.back());
    }
    const auto show_holes = [&](bool holes) {
        for (int axis = 0; axis < 3; ++axis) {
            scene->section(axis).set_visible(!holes);
            holed[std::size_t(axis)]->set_visible(holes);
        }
    };
    std::vector<double> whole_ms, holes_ms;
    for (int i = 0; i < 2 * FRAMES + 2; ++i) {
        show_holes(i % 2);
        const double spent = elapsed_ms([&] {
            turn(i);
            frame();
        });
        if (i >= 2) (i % 2 ? holes_ms : whole_ms).push_back(spent);
    }
    show_holes(false);
    holed.clear();  // their samples and textures gone, as they are from the later figures
    // VTK's frame asks the widget for a paint, which copies the frame in without drawing again.
    const double on_screen_ms =
        korvex::bench::frame_on_screen_ms(*static_cast<QOpenGLWidget*>(native), FRAMES, [&] {
            turn(0);
            window->Render();
        });

    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("picture.png");
    const double picture_ms = median(changes_then_frames(
        PICTURES, turn, [&] { korvex::scene::write_png(path, scene->canvas().render()); }));

    const QString colormaps[] = {"gray", "seismic"};
    const double colormap_ms = median(changes_then_frames(
        FRAMES,
        [&](int i) {
            for (int axis = 0; axis < 3; ++axis) {
                scene->section(axis).set_colormap(colormaps[i % 2]);
                scene->section(axis).set_clim({-1.0 - i % 2, 1.0 + i % 2});
            }
        },
        frame));

    // Two sets of samples in memory, as the section cache holds neighbouring indexes.
    std::vector<std::vector<float>> shown;
    for (int axis = 0; axis < 3; ++axis) shown.push_back(scene->section(axis).array_data());
    const double move_ms = median(changes_then_frames(
        FRAMES,
        [&](int i) {
            const auto& next = i % 2 ? shown : other_samples;
            for (int axis = 0; axis < 3; ++axis) {
                scene->section(axis).set_data(next[axis], SAMPLES, SAMPLES);
                scene->section(axis).set_position(SAMPLES / 2 - i % 2);
            }
        },
        frame));

    const double empty_widget_ms = korvex::bench::empty_widget_frame_ms(WIDTH, HEIGHT, FRAMES);
    const double copy_ms = korvex::bench::frame_buffer_copy_ms(WIDTH, HEIGHT, FRAMES);
    const double native_window_ms = korvex::bench::native_window_frame_ms(*scene, FRAMES);

    std::printf("axis + 3 sections of %dx%d floats on a %dx%d canvas, medians\n", SAMPLES, SAMPLES,
                WIDTH, HEIGHT);
    std::printf("  frame (drawn, finished):          %7.1f ms   reference %.1f ms\n", frame_ms,
                reference.at("frame"));
    std::printf("  frame, a hole in each section:    %7.1f ms   in turn with the whole: %.1f ms\n",
                median(holes_ms), median(whole_ms));
    std::printf("  frame through the Qt widget:      %7.1f ms\n", on_screen_ms);
    std::printf("    empty Qt widget on screen:      %7.1f ms   reference swap %.1f ms\n",
                empty_widget_ms, reference.at("swap"));
    std::printf("    one frame buffer copied:        %7.1f ms\n", copy_ms);
    std::printf("  frame through VTK's own window:   %7.1f ms\n", native_window_ms);
    std::printf("  picture (read back, PNG written): %7.1f ms   reference %.1f ms\n", picture_ms,
                reference.at("picture"));
    std::printf("  colormap and limit, then a frame: %7.1f ms\n", colormap_ms);
    std::printf("  other samples moved, then frame:  %7.1f ms\n", move_ms);
    std::printf("  sections set up to first picture: %7.1f ms\n", setup);
    std::printf("  viewer set up to first picture:   %7.1f ms\n", canvas_setup);
    korvex::bench::figure_with_ratio("frame", frame_ms, reference.at("frame"));
    korvex::bench::figure_with_ratio("frame_with_holes", median(holes_ms), median(whole_ms));
    korvex::bench::figure_with_ratio("frame_on_screen", on_screen_ms, reference.at("frame"));
    korvex::bench::figure_with_ratio("handover_empty_widget", empty_widget_ms,
                                     reference.at("frame"));
    korvex::bench::figure_with_ratio("frame_native_window", native_window_ms,
                                     reference.at("frame"));
    korvex::bench::figure("frame_buffer_copy", copy_ms, "ms");
    korvex::bench::figure("reference_swap", reference.at("swap"), "ms");
    korvex::bench::figure_with_ratio("picture", picture_ms, reference.at("picture"));
    korvex::bench::figure_with_ratio("colormap_change", colormap_ms, frame_ms);
    korvex::bench::figure_with_ratio("section_move", move_ms, frame_ms);
    korvex::bench::figure_with_ratio("first_picture_setup", setup, frame_ms);
    korvex::bench::figure_with_ratio("canvas_setup", canvas_setup, frame_ms);
    return 0;
}
