// Latency of finding the visual under the mouse, on a 1280 x 1024 canvas showing the
// axis and three 1000 x 1000 sections. Prints the median and slowest lookup over a
// grid of positions (sections, axis and background), in milliseconds.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_visual_at
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "bench/section_scene.h"

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    korvex::bench::SectionScene scene(1280, 1024, 1000);

    std::vector<double> times;
    int hits = 0;
    for (int y = 64; y < 1024; y += 128) {
        for (int x = 80; x < 1280; x += 160) {
            QElapsedTimer timer;
            timer.start();
            hits += scene.canvas().visual_at({x, y}) != nullptr;
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::printf("visual_at, 1280x1024, axis + 3 sections of 1000x1000 floats\n");
    std::printf("  lookups: %zu (%d on a visual)\n", times.size(), hits);
    std::printf("  median:  %.2f ms\n", korvex::bench::median(times));
    std::printf("  slowest: %.2f ms\n", *std::max_element(times.begin(), times.end()));
    return 0;
}
