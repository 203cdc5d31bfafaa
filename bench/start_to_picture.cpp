// Process start to picture written: `korvex tiny.sgy --export PNG` on an existing display,
// a 10 x 12 x 20 volume, timed from launch until korvex says the picture is written (and,
// apart, until it has exited). Medians of RUNS runs after one that brings the libraries
// and the OpenGL driver's shader cache in.
//
//   Xvfb :77 -screen 0 1280x1024x24 &   DISPLAY=:77 build/bin/bench_start_to_picture
//   build/bin/korvex
//
// Also prints where the time goes, from the journal's time stamps of the median run:
// launch to the window being ready, to the volume loaded, to the picture written.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/figures.h"
#include "bench/korvex_run.h"

namespace {

using korvex::bench::KorvexRun;

constexpr int RUNS = 7;

void print_profile(const KorvexRun::Times& run) {
    std::printf("journal of the median run (ms from launch):\n");
    for (const auto& [ms, text] : run.lines) std::printf("  %6.0f  %s\n", ms, qPrintable(text));
    std::printf("  %6.0f  (picture written, announced on standard output)\n", run.picture_written);
    std::printf("  %6.0f  (exited)\n", run.exited);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s KORVEX\n", argv[0]);
        return 2;
    }
    QTemporaryDir scratch;
    const KorvexRun korvex(QString::fromLocal8Bit(argv[1]), scratch.path());
    const QString tiny = korvex::bench::write_tiny_volume(scratch.path());
    korvex.picture(tiny);

    std::vector<KorvexRun::Times> runs;
    for (int run = 0; run < RUNS; ++run) runs.push_back(korvex.picture(tiny));
    std::sort(runs.begin(), runs.end(),
              [](const auto& a, const auto& b) { return a.picture_written < b.picture_written; });
    const KorvexRun::Times& median = runs[runs.size() / 2];
    print_profile(median);
    std::vector<double> exits;
    for (const auto& run : runs) exits.push_back(run.exited);
    korvex::bench::figure("start_to_picture", median.picture_written, "ms");
    korvex::bench::figure("start_to_exit", korvex::bench::median(exits), "ms");
    return 0;
}
