#include "bench/view_memory.h"

#include <segyio/segy.h>

#include <QDir>
#include <QSignalSpy>
#include <cmath>

#include "bench/app_waits.h"
#include "bench/figures.h"
#include "korvex/app/catalog/data_model.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::bench {

namespace {

constexpr int INLINES = 12, CROSSLINES = 1000, SAMPLES = 1000;
// Enough views that what the first of them sets up once is a small share of each.
constexpr int SECTION_VIEWS = 8, MAP_VIEWS = 4;
constexpr double MB = 1024.0 * 1024.0;
constexpr double BIN = 25.0;

QString write_survey(const QString& folder) {
    const QString path = QDir(folder).filePath("views.sgy");
    seismic::SegyWriter writer(path, SAMPLES, SEGY_IEEE_FLOAT_4_BYTE, 4000);
    std::vector<float> trace(SAMPLES);
    for (int il = 0; il < INLINES; ++il) {
        for (int xl = 0; xl < CROSSLINES; ++xl) {
            for (int s = 0; s < SAMPLES; ++s) trace[s] = float(std::sin(0.05 * s + 0.01 * xl + il));
            // Centimetres: 25 m bins on UTM-like coordinates.
            const seismic::CdpCoordinates cdp{int(std::lround((600000 + xl * BIN) * 100)),
                                              int(std::lround((6500000 + il * BIN) * 100)), -100};
            writer.write_trace(1 + il, 1 + xl, trace, 0, cdp);
        }
    }
    writer.close();
    return path;
}

double resident_mb() { return status_kb("RssAnon:") / 1024.0; }

// Serves the loop until the views are drawn and painted, then a moment more for what they
// let go.
void settle(const std::function<bool()>& drawn) {
    serve_until(drawn);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
}

}  // namespace

ViewMemory measure_view_memory(const QString& folder, int width, int height) {
    const QString path = write_survey(folder);
    app::MainWindow window;
    window.setup();
    window.resize(width, height);
    window.show();
    window.post_visible_setup();
    load_data(window, path, app::data::SeismicVolume::header_settings({}));
    auto* volume = dynamic_cast<app::data::SeismicVolume*>(window.model()->objects().front());
    // The cache pass reads the whole file through buffers of its own: not the views'.
    QSignalSpy cache_pass(volume, &app::data::SeismicVolume::sig_cache_pass_ended);
    cache_pass.wait(60000);

    app::SectionViewArea& sections = *window.section_views();
    const auto all_drawn = [&] {
        for (int i = 0; i < sections.count(); ++i)
            if (!sections.feed(i)->drawn()) return false;
        return true;
    };
    // The first view sets up the area and its tabs once.
    sections.add_view(*volume, seismic::SectionKind::iline, 0);
    settle(all_drawn);
    ViewMemory memory;
    double before = resident_mb();
    for (int i = 1; i <= SECTION_VIEWS; ++i) {
        sections.add_view(*volume, seismic::SectionKind::iline, i);
        settle(all_drawn);
    }
    memory.section_view_mb = (resident_mb() - before) / SECTION_VIEWS;
    memory.section_need_mb = 2.0 * 4.0 * CROSSLINES * SAMPLES / MB;

    app::MapViewArea& maps = *window.map_views();
    const auto map_drawn = [&] {
        for (int i = 0; i < maps.count(); ++i)
            if (maps.view(i)->canvas().scene().surveys.empty()) return false;
        return true;
    };
    maps.add_view();
    settle(map_drawn);
    before = resident_mb();
    for (int i = 0; i < MAP_VIEWS; ++i) {
        maps.add_view();
        settle(map_drawn);
    }
    memory.map_view_mb = (resident_mb() - before) / MAP_VIEWS;
    const QSize map = maps.view(0)->canvas().size();
    memory.map_need_mb = 4.0 * map.width() * map.height() / MB;
    return memory;
}

}  // namespace korvex::bench
