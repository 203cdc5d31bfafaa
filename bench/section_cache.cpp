// The section cache of a SEG-Y file: how long its one pass takes against reading the file
// cold (16 MB reads after dropping it from the page cache), with its closing flush and up
// to its last slab (without it), at the bench's own priority and as the app runs it (ten
// nice levels below the process: `cache_build_background`); and how long a section read
// from the flushed cache takes against a memcpy of the same bytes from memory the CPU has
// not cached, the first time after the pass (`cache_slice`: time slices from the disk) and
// again (`cache_slice_warm`).
//
//   bench_section_cache FILE CACHE_FOLDER [runs]
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <thread>
#include <vector>

#include "bench/figures.h"
#include "korvex/seismic/background_priority.h"
#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"

using korvex::seismic::SectionCache;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyGeometry;
using korvex::seismic::SegyVolumeFile;
namespace bench = korvex::bench;

namespace {

constexpr std::size_t READ_CHUNK = 16 << 20;
// Larger than the last-level cache many times over: each copy starts from memory.
constexpr std::size_t MEMCPY_POOL = 512 << 20;

double cold_sequential_read_ms(const QString& path) {
    bench::drop_from_page_cache(path);
    std::vector<char> buffer(READ_CHUNK);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const double ms = bench::elapsed_ms([&] {
        off_t offset = 0;
        while (true) {
            const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), offset);
            if (got <= 0) break;
            offset += got;
        }
    });
    ::close(fd);
    return ms;
}

// Processor time of the whole process, all its threads, in milliseconds.
double process_cpu_ms() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct BuildTimes {
    double total_ms = 0.0;
    // The processor time the pass took, its writers included: what a load stretches.
    double cpu_ms = 0.0;
    double unflushed_ms = 0.0;
};

// One pass from a cold SEG-Y file to a flushed cache, on a thread of its own as the app runs
// it, in the background or at the caller's priority.
BuildTimes cold_build(const QString& segy, const QString& cache_path, bool background) {
    QFile::remove(cache_path);
    ::sync();  // the previous cache's writes must not land in this build's time
    // A volume of its own: build() maps the file, and mapped pages cannot be dropped.
    const SegyVolumeFile built(segy);
    bench::drop_from_page_cache(segy);
    BuildTimes times;
    std::exception_ptr error;
    const double cpu_before = process_cpu_ms();
    std::thread pass([&] {
        if (background) korvex::seismic::lower_calling_thread_priority();
        const auto start = std::chrono::steady_clock::now();
        const auto since_start = [&] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                             start)
                .count();
        };
        try {
            SectionCache::build(built, cache_path, [&](double fraction) {
                if (fraction >= 1.0) times.unflushed_ms = since_start();
                return true;
            });
        } catch (...) {
            error = std::current_exception();
        }
        times.total_ms = since_start();
    });
    pass.join();
    times.cpu_ms = process_cpu_ms() - cpu_before;
    if (error) std::rethrow_exception(error);
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE CACHE_FOLDER [runs]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(5, argc > 3 ? std::atoi(argv[3]) : 5);
    try {
        const SegyVolumeFile volume(QString::fromLocal8Bit(argv[1]));
        const SegyGeometry& g = volume.geometry();
        const QString cache_path =
            korvex::seismic::CacheFolder(QString::fromLocal8Bit(argv[2])).path_for(volume);
        std::printf("%s: %d inlines x %d crosslines x %d samples, %.2f GB; cache %s\n", argv[1],
                    g.iline_count(), g.xline_count(), g.samples, volume.file_size() / 1e9,
                    qPrintable(cache_path));

        std::vector<double> read_ms;
        std::vector<double> build_ms;
        std::vector<double> unflushed_ms;
        std::vector<double> background_ms;
        std::vector<double> cpu_ms;
        for (int run = 0; run < runs; ++run) {
            read_ms.push_back(cold_sequential_read_ms(volume.path()));
            const BuildTimes own = cold_build(volume.path(), cache_path, false);
            const BuildTimes background = cold_build(volume.path(), cache_path, true);
            build_ms.push_back(own.total_ms);
            unflushed_ms.push_back(own.unflushed_ms);
            background_ms.push_back(background.total_ms);
            cpu_ms.push_back(own.cpu_ms);
            std::printf(
                "run %d: cold read %.0f ms, build %.0f ms (%.0f ms before the flush), "
                "%.0f ms in the background; the pass took %.0f ms of processor time\n",
                run + 1, read_ms.back(), own.total_ms, own.unflushed_ms, background.total_ms,
                own.cpu_ms);
        }
        bench::figure_with_ratio("cache_build", bench::median(build_ms), bench::median(read_ms));
        bench::figure_with_ratio("cache_build_unflushed", bench::median(unflushed_ms),
                                 bench::median(read_ms));
        bench::figure("cache_build_cpu", bench::median(cpu_ms), "ms");
        bench::figure_with_ratio("cache_build_background", bench::median(background_ms),
                                 bench::median(read_ms));

        const auto cache = SectionCache::build(volume, cache_path);
        std::vector<char> pool(MEMCPY_POOL, 1);
        std::size_t pool_offset = 0;
        const auto memcpy_ms = [&](float* target, std::size_t bytes) {
            if (pool_offset + bytes > pool.size()) pool_offset = 0;
            const double ms =
                bench::elapsed_ms([&] { std::memcpy(target, pool.data() + pool_offset, bytes); });
            pool_offset += bytes;
            return ms;
        };
        // The worst direction, first read after the pass and read again.
        double worst_ms[2] = {};
        double worst_ratio[2] = {};
        for (const SectionKind kind :
             {SectionKind::iline, SectionKind::xline, SectionKind::depth}) {
            std::vector<float> section(g.section_size(kind));
            const std::size_t bytes = section.size() * sizeof(float);
            for (const int pass : {0, 1}) {
                std::vector<double> cache_ms;
                std::vector<double> reference_ms;
                for (int run = 0; run < 4 * runs; ++run) {
                    const int index = (run * 7919 + 1) % g.section_count(kind);
                    cache_ms.push_back(
                        bench::elapsed_ms([&] { cache->read(kind, index, section.data()); }));
                    reference_ms.push_back(memcpy_ms(section.data(), bytes));
                }
                const double ms = bench::median(cache_ms);
                const double ratio = ms / bench::median(reference_ms);
                std::printf("cache %s, %s: %.3f ms, %.1fx memcpy (%.3f ms)\n",
                            kind == SectionKind::iline   ? "inline"
                            : kind == SectionKind::xline ? "crossline"
                                                         : "time slice",
                            pass == 0 ? "first read" : "again", ms, ratio,
                            bench::median(reference_ms));
                worst_ms[pass] = std::max(worst_ms[pass], ms);
                worst_ratio[pass] = std::max(worst_ratio[pass], ratio);
            }
        }
        bench::figure("cache_slice", worst_ms[0], "ms");
        bench::figure("cache_slice_ratio", worst_ratio[0], "x");
        bench::figure("cache_slice_warm", worst_ms[1], "ms");
        bench::figure("cache_slice_warm_ratio", worst_ratio[1], "x");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
