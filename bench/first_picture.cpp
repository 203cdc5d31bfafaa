// Start to first picture: `korvex FILE --export PNG`, timed from launch to exit, the file
// cold (dropped from the page cache with posix_fadvise DONTNEED) and warm.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_first_picture build/bin/korvex FILE
//
// References measured in the same run: the same command on a tiny 10 x 12 x 20 volume
// (the start-up: libraries, window, OpenGL, a picture) and reading FILE cold in 16 MB
// reads. first_picture_cold_ratio is against start-up + cold read, first_picture_warm_ratio
// against start-up alone; first_picture_warm_data is what the file adds to the start-up.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "bench/figures.h"
#include "bench/korvex_run.h"

namespace {

using korvex::bench::elapsed_ms;
using korvex::bench::figure;
using korvex::bench::figure_with_ratio;
using korvex::bench::median;

constexpr int RUNS = 5;

double read_whole_file_ms(const QString& path) {
    return elapsed_ms([&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return;
        std::vector<char> buffer(16 << 20);
        while (file.read(buffer.data(), qint64(buffer.size())) > 0) {
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s KORVEX FILE\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir scratch;
    const korvex::bench::KorvexRun korvex(QString::fromLocal8Bit(argv[1]), scratch.path());
    const QString tiny = korvex::bench::write_tiny_volume(scratch.path());

    std::vector<double> start_up, cold_read, cold, warm;
    korvex.picture(tiny);  // libraries into the page cache
    for (int run = 0; run < RUNS; ++run) {
        start_up.push_back(korvex.picture(tiny).exited);
        korvex::bench::drop_from_page_cache(file);
        cold_read.push_back(read_whole_file_ms(file));
        korvex::bench::drop_from_page_cache(file);
        cold.push_back(korvex.picture(file).exited);
        read_whole_file_ms(file);
        warm.push_back(korvex.picture(file).exited);
        std::printf("run %d: start-up %.0f ms, cold read %.0f ms, cold %.0f ms, warm %.0f ms\n",
                    run, start_up.back(), cold_read.back(), cold.back(), warm.back());
        std::fflush(stdout);
    }
    figure("startup_tiny", median(start_up), "ms");
    figure("cold_read", median(cold_read), "ms");
    figure_with_ratio("first_picture_cold", median(cold), median(start_up) + median(cold_read));
    figure_with_ratio("first_picture_warm", median(warm), median(start_up));
    figure("first_picture_warm_data", median(warm) - median(start_up), "ms");
    return 0;
}
