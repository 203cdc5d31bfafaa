// Times opening a project of many 3D viewers against one of a few. Every viewer shows the
// demo survey: its volume with the three sections, and its horizon. The per-viewer cost
// at the large size over that at the small one is about 1 when a restore grows linearly
// with its viewers.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/app_waits.h"
#include "bench/figures.h"
#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/host/data_object.h"
#include "korvex/scene/surface_format.h"
#include "korvex/utils/appconsts/appconsts.h"

using korvex::app::MainWindow;

namespace {

constexpr int FEW = 3;
constexpr int MANY = 59;

QString write_project(MainWindow& window, const QTemporaryDir& dir, int viewers) {
    const auto survey = korvex::app::data::DemoSurvey::ensure(dir.filePath("demo"));
    window.create_new_project(dir.filePath(QStringLiteral("viewers%1").arg(viewers)));
    korvex::bench::load_data(window, survey.volume,
                             korvex::app::data::SeismicVolume::header_settings({}));
    korvex::bench::load_data(window, survey.horizon);
    korvex::app::DataTree& tree = *window.tree();
    for (int i = 0; i < viewers; ++i) {
        if (i > 0) window.viewer_area()->add_viewer();
        for (const korvex::host::DataObject* dob : window.model()->objects()) {
            tree.set_checked(dob->name(), true);
            for (const QString& type : korvex::utils::appconsts::SECTION_TYPES)
                if (dob->section_image3d.count(type))
                    tree.set_section_checked(dob->name(), type, true);
        }
    }
    window.save_project();
    return window.project_path();
}

double open_ms(MainWindow& window, const QString& project) {
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(korvex::bench::elapsed_ms([&] {
            korvex::bench::open_project(window, project);
            QCoreApplication::processEvents();
        }));
    return korvex::bench::median(runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    korvex::scene::prepare_default_surface_format();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    MainWindow window;
    window.setup();
    window.show();
    window.post_visible_setup();
    const QString few = write_project(window, dir, FEW);
    const QString many = write_project(window, dir, MANY);
    const double few_ms = open_ms(window, few);
    const double many_ms = open_ms(window, many);
    std::printf("restore: %d viewers %.0f ms, %d viewers %.0f ms\n", FEW, few_ms, MANY, many_ms);
    korvex::bench::figure("restore_59_viewers", many_ms, "ms");
    korvex::bench::figure("restore_3_viewers", few_ms, "ms");
    korvex::bench::figure("restore_per_viewer_growth", (many_ms / MANY) / (few_ms / FEW), "x");
    return 0;
}
