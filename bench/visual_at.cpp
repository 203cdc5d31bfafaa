// Latency of finding the visual under the mouse, on a 1280 x 1024 canvas showing the
// axis and three 1000 x 1000 sections, against VisPy's canvas.visual_at on the same scene
// and display (bench/reference_scene.py). Prints the median and slowest lookup over a grid
// of positions (sections, axis and background), in milliseconds, then the same with a
// point set of 100 000 points added, then with those replaced by 1 000 000 (VisPy's scene
// has none to compare with). The first lookup after new positions pays for indexing them.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_visual_at
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <random>

#include "bench/figures.h"
#include "bench/reference_scene.h"
#include "bench/section_scene.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"

namespace {

// Rounds over the grid; the slowest lookup is the worst of all of them.
constexpr int ROUNDS = 5;
constexpr int POINTS = 100000;
constexpr int MANY_POINTS = 1000000;

// Lookup times over the grid, printed under `title`; returns their median.
double time_lookups(korvex::scene::SceneCanvas& canvas, const char* title) {
    std::vector<double> times;
    int hits = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        for (int y = 64; y < 1024; y += 128) {
            for (int x = 80; x < 1280; x += 160) {
                times.push_back(korvex::bench::elapsed_ms([&] {
                    hits += canvas.visual_at({x, y}) != nullptr;
                }));
            }
        }
    }
    const double median = korvex::bench::median(times);
    std::printf("%s\n", title);
    std::printf("  lookups: %zu (%d on a visual)\n", times.size(), hits);
    std::printf("  median:  %.4f ms\n", median);
    std::printf("  slowest: %.4f ms\n", *std::max_element(times.begin(), times.end()));
    return median;
}

// The lookup that follows new positions, which indexes them, printed under `title`.
double first_lookup(korvex::scene::SceneCanvas& canvas, const char* title) {
    const double ms = korvex::bench::elapsed_ms([&] { canvas.visual_at({640, 512}); });
    std::printf("%s: %.3f ms\n", title, ms);
    return ms;
}

// Points spread evenly through the sections' cube.
std::vector<korvex::scene::Point3> cloud(int count) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> inside_cube(0.0, 999.0);
    std::vector<korvex::scene::Point3> positions(static_cast<std::size_t>(count));
    for (auto& position : positions)
        position = {inside_cube(random), inside_cube(random), inside_cube(random)};
    return positions;
}

}  // namespace

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    double reference = 0.0;
    try {
        reference = korvex::bench::reference_scene_figures().at("visual_at");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "no reference: %s\n", error.what());
        return 1;
    }
    korvex::bench::SectionScene scene(1280, 1024, 1000);
    const double sections =
        time_lookups(scene.canvas(), "visual_at, 1280x1024, axis + 3 sections of 1000x1000 floats");
    std::printf("  reference (VisPy): %.3f ms\n", reference);

    korvex::scene::PointVisual points(cloud(POINTS), korvex::scene::Color(0, 0, 0), 5.0);
    scene.canvas().view()->add(points);
    first_lookup(scene.canvas(), "first lookup after 100000 new points");
    const double with_points = time_lookups(scene.canvas(), "the same with 100000 points added");

    points.set_data(cloud(MANY_POINTS));
    const double indexing = first_lookup(scene.canvas(), "first lookup after 1000000 new points");
    const double with_many_points =
        time_lookups(scene.canvas(), "the same with 1000000 points instead");

    korvex::bench::figure_with_ratio("visual_at", sections, reference);
    korvex::bench::figure("visual_at_100k_points", with_points, "ms");
    korvex::bench::figure("visual_at_1m_points", with_many_points, "ms");
    korvex::bench::figure("point_index_build_1m", indexing, "ms");
    return 0;
}
