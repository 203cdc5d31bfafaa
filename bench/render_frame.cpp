// Time to draw one frame of a 1280 x 1024 canvas showing the axis and three
// 1000 x 1000 float sections: the first frame (textures uploaded), then the median of
// later frames with the camera turning, drawn alone and drawn then read back as the
// picture export does. Milliseconds.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_render_frame
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

#include <vtkGenericOpenGLRenderWindow.h>

#include "bench/section_scene.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace {
constexpr int FRAMES = 20;

double time_ms(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    QElapsedTimer setup;
    setup.start();
    korvex::bench::SectionScene scene(1280, 1024, 1000);
    const double first = setup.nsecsElapsed() / 1e6;
    korvex::scene::TurntableCamera& camera = scene.canvas().view()->camera();
    vtkGenericOpenGLRenderWindow* window = scene.canvas().render_window();

    std::vector<double> draw, draw_and_read;
    for (int frame = 0; frame < FRAMES; ++frame) {
        camera.set_azimuth(camera.azimuth() + 3.0);
        draw.push_back(time_ms([&] { window->Render(); }));
        camera.set_azimuth(camera.azimuth() + 3.0);
        draw_and_read.push_back(time_ms([&] { scene.canvas().render(); }));
    }
    std::printf("one frame, 1280x1024, axis + 3 sections of 1000x1000 floats\n");
    std::printf("  set-up to first picture (data, textures): %.1f ms\n", first);
    std::printf("  frame, median of %d:                    %.1f ms\n", FRAMES,
                korvex::bench::median(draw));
    std::printf("  frame read back as RGBA, median of %d:  %.1f ms\n", FRAMES,
                korvex::bench::median(draw_and_read));
    return 0;
}
