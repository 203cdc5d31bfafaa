// Start to first picture: `korvex FILE --export PNG`, timed from launch to exit, the file
// cold (dropped from the page cache with posix_fadvise DONTNEED), warm, and reopened cold
// with its section cache built beforehand.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_first_picture build/bin/korvex FILE
//
// References measured in the same run: the same command on a tiny 10 x 12 x 20 volume
// (the start-up: libraries, window, OpenGL, a picture) and reading FILE cold in 16 MB
// reads. first_picture_cold_ratio is against start-up + cold read, first_picture_warm_ratio
// and first_picture_reopen_ratio against start-up alone; first_picture_warm_data is what
// the file adds to the start-up. first_picture_exit is the time from the picture written
// to the process gone (the file warm) against the same for the tiny volume: what a volume
// adds to the exit. reopen_file_in_page_cache is the share of FILE the reopen brought into
// the page cache; max_resident_* the process's maximum resident size against FILE's size.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "bench/figures.h"
#include "bench/korvex_run.h"
#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"

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

// Drops the files and says what the page cache kept of the first: a cold figure is
// only cold if (almost) nothing is left.
double drop_cold(const QStringList& paths) {
    for (const QString& path : paths) korvex::bench::drop_from_page_cache(path);
    return korvex::bench::page_cache_fraction(paths.front());
}

// The section cache a user's earlier session would have left.
QString build_section_cache(const QString& file, const QString& folder) {
    QDir().mkpath(folder);
    const korvex::seismic::SegyVolumeFile volume(file);
    const QString path = korvex::seismic::CacheFolder(folder).path_for(volume);
    korvex::seismic::SectionCache::build(volume, path);
    return path;
}

void resident_figure(const char* name, const std::vector<double>& mb, double file_mb) {
    figure(name, median(mb), "MB");
    figure((std::string(name) + "_ratio").c_str(), median(mb) / file_mb, "x");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s KORVEX FILE\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[2]);
    const double file_mb = QFile(file).size() / double(1 << 20);
    QTemporaryDir scratch;
    const QString program = QString::fromLocal8Bit(argv[1]);
    const korvex::bench::KorvexRun korvex(program, scratch.filePath("plain"));
    const korvex::bench::KorvexRun reopening(program, scratch.filePath("cached"));
    const QString tiny = korvex::bench::write_tiny_volume(scratch.path());
    const QString cache = build_section_cache(file, reopening.section_cache_folder());

    std::vector<double> start_up, cold_read, cold, warm, reopen, exit_tiny, exit_file;
    std::vector<double> reopen_read, resident_warm, resident_reopen;
    korvex.picture(tiny);  // libraries and shaders into their caches
    reopening.picture(tiny);
    for (int run = 0; run < RUNS; ++run) {
        const auto tiny_run = korvex.picture(tiny);
        start_up.push_back(tiny_run.exited);
        exit_tiny.push_back(tiny_run.exited - tiny_run.picture_written);
        const double left_read = drop_cold({file});
        cold_read.push_back(read_whole_file_ms(file));
        const double left_cold = drop_cold({file});
        cold.push_back(korvex.picture(file).exited);
        read_whole_file_ms(file);
        const auto warm_run = korvex.picture(file);
        warm.push_back(warm_run.exited);
        exit_file.push_back(warm_run.exited - warm_run.picture_written);
        resident_warm.push_back(warm_run.max_resident_mb);
        const double left_reopen = drop_cold({file, cache});
        const auto reopen_run = reopening.picture(file);
        reopen.push_back(reopen_run.exited);
        reopen_read.push_back(korvex::bench::page_cache_fraction(file));
        resident_reopen.push_back(reopen_run.max_resident_mb);
        std::printf(
            "run %d: start-up %.0f ms, cold read %.0f ms, cold %.0f ms, warm %.0f ms, reopen "
            "%.0f ms reading %.1f%% of the file; left in the page cache by each drop: %.2f%%, "
            "%.2f%%, %.2f%%\n",
            run, start_up.back(), cold_read.back(), cold.back(), warm.back(), reopen.back(),
            100 * reopen_read.back(), 100 * left_read, 100 * left_cold, 100 * left_reopen);
        std::fflush(stdout);
    }
    figure("startup_tiny", median(start_up), "ms");
    figure("cold_read", median(cold_read), "ms");
    figure_with_ratio("first_picture_cold", median(cold), median(start_up) + median(cold_read));
    figure_with_ratio("first_picture_warm", median(warm), median(start_up));
    figure("first_picture_warm_data", median(warm) - median(start_up), "ms");
    figure_with_ratio("first_picture_exit", median(exit_file), median(exit_tiny));
    figure_with_ratio("first_picture_reopen", median(reopen), median(start_up));
    figure("reopen_file_in_page_cache", median(reopen_read), "x");
    resident_figure("max_resident_warm", resident_warm, file_mb);
    resident_figure("max_resident_reopen", resident_reopen, file_mb);
    return 0;
}
