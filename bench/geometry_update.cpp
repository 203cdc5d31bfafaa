// What it costs when the full check finds traces that the opening's sample missed: the file
// opened again with every trace placed, against the sampled opening it replaces; and the
// live area (the outline and the map's fill) made on that worker as the traces are placed,
// against opening a survey with holes, with the size of the fill every map view shares.
// The outline alone is timed too: it was made there before, the fill per map view. Warm page
// cache; medians.
//
//   bench_geometry_update REGULAR_FILE HOLES_FILE [runs]
#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "bench/figures.h"
#include "korvex/app/data/live_area.h"
#include "korvex/seismic/segy_volume_file.h"

using korvex::bench::elapsed_ms;
using korvex::bench::figure;
using korvex::bench::figure_with_ratio;
using korvex::bench::median;
using korvex::seismic::SegyVolumeFile;

namespace {

double open_ms(const QString& path, SegyVolumeFile::TracePlacing placing, int runs) {
    std::vector<double> ms;
    // The first run brings the file's pages into the page cache.
    for (int run = 0; run <= runs; ++run) {
        const double taken = elapsed_ms([&] { SegyVolumeFile(path, {}, placing); });
        if (run > 0) ms.push_back(taken);
    }
    return median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s REGULAR_FILE HOLES_FILE [runs]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(3, argc > 3 ? std::atoi(argv[3]) : 5);
    using Placing = SegyVolumeFile::TracePlacing;
    try {
        const QString regular = QString::fromLocal8Bit(argv[1]);
        figure_with_ratio("place_every_trace", open_ms(regular, Placing::every_trace, runs),
                          open_ms(regular, Placing::sampled, runs));

        const QString holes = QString::fromLocal8Bit(argv[2]);
        const SegyVolumeFile volume(holes);
        std::vector<double> ms;
        korvex::app::data::LiveArea area;
        for (int run = 0; run < runs; ++run)
            ms.push_back(
                elapsed_ms([&] { area = korvex::app::data::LiveArea::of(volume.geometry()); }));
        const double opening = open_ms(holes, Placing::sampled, runs);
        figure_with_ratio("live_area", median(ms), opening);
        // The outline alone, which opening made before the fill joined it.
        const auto& g = volume.geometry();
        ms.clear();
        for (int run = 0; run < runs; ++run)
            ms.push_back(elapsed_ms([&] {
                korvex::seismic::live_outline(g.iline_count(), g.xline_count(),
                                              [&g](int i, int x) { return g.has_trace(i, x); });
            }));
        figure_with_ratio("live_outline", median(ms), opening);
        figure("live_fill", area.fill.sizeInBytes() / 1048576.0, "MB");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
