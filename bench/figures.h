#pragma once

// What the seismic benchmarks share: medians of timed runs, cold page cache, and the
// `figure <name> <value> <unit>` lines that bench/README.md's table is made from.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace korvex::bench {

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double elapsed_ms(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

// Drops the file's pages from the page cache, so that the next read comes from the disk.
inline void drop_from_page_cache(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// The share of the file's pages in the page cache now, as `fincore` counts them.
inline double page_cache_fraction(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return 0;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    void* map = size > 0 ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (map == MAP_FAILED) return 0;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> pages(size_t((size + page - 1) / page));
    double resident = 0;
    if (::mincore(map, size_t(size), pages.data()) == 0)
        for (const unsigned char in_core : pages) resident += in_core & 1;
    ::munmap(map, size_t(size));
    return resident / double(pages.size());
}

// kB of a field of /proc/self/status, such as "RssAnon:".
inline double status_kb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0.0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toDouble();
    return 0.0;
}

inline void figure(const char* name, double value, const char* unit) {
    // Significant digits rather than decimals: a ratio of 0.0004 must not print as 0.000.
    std::printf("figure %s %.6g %s\n", name, value, unit);
    std::fflush(stdout);
}

// A figure and its ratio to the reference measured in the same run.
inline void figure_with_ratio(const char* name, double ms, double reference_ms) {
    figure(name, ms, "ms");
    figure((std::string(name) + "_ratio").c_str(), ms / reference_ms, "x");
}

}  // namespace korvex::bench
