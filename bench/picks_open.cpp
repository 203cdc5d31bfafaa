// Opens a project of the demo survey with many picks against the same project without
// any: the time and resident memory the picks add, the frame they cost once drawn, and
// the time a window holding them takes to close. Usage: bench_picks_open [PICKS]
// (100 000 by default).
#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "bench/app_waits.h"
#include "bench/figures.h"
#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/panel_pick_list.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/surface_format.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

using korvex::app::MainWindow;

namespace {

std::unique_ptr<MainWindow> new_window() {
    auto window = std::make_unique<MainWindow>();
    window->setup();
    window->show();
    window->post_visible_setup();
    return window;
}

korvex::widgets::CanvasWidget& first_viewer(const MainWindow& window) {
    return window.viewer_area()->viewer(0)->base();
}

// Resident memory in MB, after handing freed heap back to the system so that what the
// last project left behind does not count.
double resident_mb() {
    ::malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0.0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toDouble() / 1024;
    return 0.0;
}

// Picks spread evenly through the survey's lines and times, placed where a pick on its
// sections would be.
std::vector<korvex::app::PickRecord> picks_in(const korvex::widgets::CanvasWidget& viewer,
                                              const korvex::app::data::SeismicVolume& volume,
                                              int count) {
    const korvex::seismic::SegyGeometry& g = volume.file().geometry();
    const int side = int(std::ceil(std::cbrt(double(count))));
    const auto spread = [side](int step, double first, double last) {
        return first + (step + 0.5) / side * (last - first);
    };
    std::vector<korvex::app::PickRecord> records;
    for (int i = 0; i < count; ++i) {
        korvex::widgets::PickedSample pick;
        pick.volume = volume.name();
        pick.iline = int(std::lround(spread(i % side, g.ilines.front(), g.ilines.back())));
        pick.xline = int(std::lround(spread(i / side % side, g.xlines.front(), g.xlines.back())));
        pick.time = spread(i / side / side, g.delay_ms,
                           g.delay_ms + (g.samples - 1) * g.sample_interval_ms);
        const auto map = volume.geometry().to_map(pick.iline, pick.xline);
        pick.map_x = map[0];
        pick.map_y = map[1];
        pick.amplitude = 0.001 * i;
        pick.position =
            volume.placement().to_scene({double(pick.iline), double(pick.xline), -pick.time});
        records.push_back({viewer.name(), pick});
    }
    return records;
}

// The demo survey with its three sections in one viewer, saved twice: without picks
// and with `picks` of them.
std::pair<QString, QString> write_projects(const QTemporaryDir& dir, int picks) {
    const auto window = new_window();
    const auto survey = korvex::app::data::DemoSurvey::ensure(dir.filePath("demo"));
    window->create_new_project(dir.filePath("plain"));
    korvex::bench::load_data(*window, survey.volume,
                             korvex::app::data::SeismicVolume::header_settings({}));
    const auto& volume =
        dynamic_cast<const korvex::app::data::SeismicVolume&>(*window->model()->objects().front());
    window->tree()->set_checked(volume.name(), true);
    for (const QString& type : korvex::utils::appconsts::SECTION_TYPES)
        window->tree()->set_section_checked(volume.name(), type, true);
    window->save_project();
    const QString plain = window->project_path();
    korvex::app::PanelPickList(*window->picks(), *window->viewer_area())
        .replace_picks(picks_in(first_viewer(*window), volume, picks));
    window->save_project_as(dir.filePath("picked.kvd"));
    return {plain, window->project_path()};
}

double open_ms(MainWindow& window, const QString& project) {
    return korvex::bench::elapsed_ms([&] {
        korvex::bench::open_project(window, project);
        QCoreApplication::processEvents();
    });
}

double frame_ms(const MainWindow& window) {
    korvex::scene::SceneCanvas& canvas = first_viewer(window).canvas();
    canvas.render();
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) runs.push_back(korvex::bench::elapsed_ms([&] { canvas.render(); }));
    return korvex::bench::median(runs);
}

struct Opened {
    double open_ms;
    double resident_mb;
    double frame_ms;
    double close_ms;
};

// In a window of its own, so that one project's leftovers do not weigh on the other's.
Opened measure(const QString& project) {
    auto window = new_window();
    const double before_mb = resident_mb();
    std::vector<double> runs{open_ms(*window, project)};
    const double grown_mb = resident_mb() - before_mb;
    for (int i = 0; i < 2; ++i) runs.push_back(open_ms(*window, project));
    const double frame = frame_ms(*window);
    const double close = korvex::bench::elapsed_ms([&] {
        window.reset();
        QCoreApplication::processEvents();
    });
    return {korvex::bench::median(runs), grown_mb, frame, close};
}

}  // namespace

int main(int argc, char* argv[]) {
    korvex::scene::prepare_default_surface_format();
    QApplication app(argc, argv);
    const int picks = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const auto [plain_project, picked_project] = write_projects(dir, picks);
    const Opened plain = measure(plain_project);
    const Opened picked = measure(picked_project);
    std::printf(
        "%d picks: open %.0f ms (%.0f without), memory +%.0f MB (+%.0f without), "
        "frame %.1f ms (%.1f without), close %.0f ms (%.0f without)\n",
        picks, picked.open_ms, plain.open_ms, picked.resident_mb, plain.resident_mb,
        picked.frame_ms, plain.frame_ms, picked.close_ms, plain.close_ms);
    korvex::bench::figure("picks_open_100k", (picked.open_ms - plain.open_ms) / 1000, "s");
    korvex::bench::figure("picks_open_100k_ratio", picked.open_ms / plain.open_ms, "x");
    korvex::bench::figure("picks_open_100k_memory", picked.resident_mb - plain.resident_mb, "MB");
    korvex::bench::figure_with_ratio("picks_frame_100k", picked.frame_ms, plain.frame_ms);
    korvex::bench::figure_with_ratio("picks_close_100k", picked.close_ms, plain.close_ms);
    return 0;
}
