// The section cache of a SEG-Y file: how long its one pass takes against reading the file
// cold (16 MB reads after dropping it from the page cache), with its closing flush and up
// to its last slab (without it), and how long a section read from the flushed cache takes
// against a memcpy of the same bytes from memory the CPU has not cached.
//
//   bench_section_cache FILE CACHE_FOLDER [runs]
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "bench/figures.h"
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
        const QString cache_path = SectionCache::path_for(volume, QString::fromLocal8Bit(argv[2]));
        std::printf("%s: %d inlines x %d crosslines x %d samples, %.2f GB; cache %s\n", argv[1],
                    g.iline_count(), g.xline_count(), g.samples, volume.file_size() / 1e9,
                    qPrintable(cache_path));

        std::vector<double> read_ms;
        std::vector<double> build_ms;
        std::vector<double> unflushed_ms;
        for (int run = 0; run < runs; ++run) {
            read_ms.push_back(cold_sequential_read_ms(volume.path()));
            QFile::remove(cache_path);
            ::sync();  // the previous cache's writes must not land in this build's time
            // A volume of its own: build() maps the file, and mapped pages cannot be dropped.
            const SegyVolumeFile built(volume.path());
            bench::drop_from_page_cache(volume.path());
            const auto start = std::chrono::steady_clock::now();
            build_ms.push_back(bench::elapsed_ms([&] {
                SectionCache::build(built, cache_path, [&](double fraction) {
                    if (fraction >= 1.0)
                        unflushed_ms.push_back(std::chrono::duration<double, std::milli>(
                                                   std::chrono::steady_clock::now() - start)
                                                   .count());
                    return true;
                });
            }));
            std::printf("run %d: cold read %.0f ms, build %.0f ms (%.0f ms before the flush)\n",
                        run + 1, read_ms.back(), build_ms.back(), unflushed_ms.back());
        }
        bench::figure_with_ratio("cache_build", bench::median(build_ms), bench::median(read_ms));
        bench::figure_with_ratio("cache_build_unflushed", bench::median(unflushed_ms),
                                 bench::median(read_ms));

        const auto cache = SectionCache::build(volume, cache_path);
        std::vector<char> pool(MEMCPY_POOL, 1);
        std::size_t pool_offset = 0;
        double worst_ms = 0.0;
        double worst_ratio = 0.0;
        for (const SectionKind kind :
             {SectionKind::iline, SectionKind::xline, SectionKind::depth}) {
            std::vector<float> section(g.section_size(kind));
            const std::size_t bytes = section.size() * sizeof(float);
            std::vector<double> cache_ms;
            std::vector<double> memcpy_ms;
            cache->read(kind, 0, section.data());  // the cache file's pages into memory
            for (int run = 0; run < 4 * runs; ++run) {
                const int index = (run * 7919 + 1) % g.section_count(kind);
                cache_ms.push_back(
                    bench::elapsed_ms([&] { cache->read(kind, index, section.data()); }));
                if (pool_offset + bytes > pool.size()) pool_offset = 0;
                memcpy_ms.push_back(bench::elapsed_ms(
                    [&] { std::memcpy(section.data(), pool.data() + pool_offset, bytes); }));
                pool_offset += bytes;
            }
            const double ms = bench::median(cache_ms);
            const double ratio = ms / bench::median(memcpy_ms);
            std::printf("cache %s: %.3f ms, %.1fx memcpy (%.3f ms)\n",
                        kind == SectionKind::iline   ? "inline"
                        : kind == SectionKind::xline ? "crossline"
                                                     : "time slice",
                        ms, ratio, bench::median(memcpy_ms));
            worst_ms = std::max(worst_ms, ms);
            worst_ratio = std::max(worst_ratio, ratio);
        }
        bench::figure("cache_slice", worst_ms, "ms");
        bench::figure("cache_slice_ratio", worst_ratio, "x");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
