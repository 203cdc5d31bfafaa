#pragma once

#include <sys/types.h>

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "korvex/seismic/amplitude_accumulator.h"
#include "korvex/seismic/cache_header.h"

namespace korvex::seismic {

class SegyVolumeFile;

// The one sequential pass that writes a section cache (see SectionCache for the layout).
//
// The SEG-Y file is read in slabs of a few thousand traces with large positioned reads, the
// next slab announced to the kernel ahead so that the disk keeps streaming while a slab is
// transposed; each slab becomes one run in every plane of the cache, written past the page
// cache by a few threads while the next slab is transposed. Memory stays at three slabs
// whatever the size of the volume. Every trace header is checked on the way, and every
// sample counted into the amplitude figures the cache's header keeps.
class SectionCacheBuilder final {
public:
    using Progress = std::function<bool(double fraction)>;

    SectionCacheBuilder(const SegyVolumeFile& volume, const QString& path, Progress progress);

    // Writes the cache file; false when the progress callback cancelled (nothing is left
    // behind then). Throws IrregularGeometryError or utils::ValueError naming the file.
    bool run();

private:
    bool write_planes(int segy, int cache);
    // The stretch of the file's traces that `count` positions from `first` on take: its
    // first trace and its length in traces, 0 when they are not a stretch of the file.
    std::pair<long long, long long> traces_of(std::size_t first, std::size_t count) const;
    // Asks the kernel for the traces of `count` positions from `first` on.
    void announce(int segy, std::size_t first, std::size_t count) const;
    // Maps the volume's file up to those traces now, while they are in the page cache.
    void map_into_volume(std::size_t first, std::size_t count) const;
    // The traces of `count` positions from `first` on, each at its position's place in
    // `raw`; holes leave theirs untouched.
    void read_slab(int segy, std::size_t first, std::size_t count, char* raw) const;
    // Converts `traces` positions from `first` on into one row per plane of `row_floats`
    // floats, NaN for a hole.
    void transpose(const char* raw, std::size_t first, std::size_t traces, float* planes,
                   std::size_t row_floats);
    // Writes at a block boundary, padded with zeros to whole blocks.
    void write_blocks(int cache, const void* data, std::size_t size, off_t offset) const;
    // Throws naming the cache file unless `error` is 0.
    void check_written(int error) const;
    void check_trace(const char* header, long long position) const;
    [[noreturn]] void irregular(long long position, int iline, int xline) const;
    [[noreturn]] void fail(const QString& file, const QString& what) const;

    const SegyVolumeFile& volume_;
    QString path_;
    Progress progress_;
    CacheHeader header_;
    AmplitudeAccumulator amplitudes_;
    bool map_while_reading_ = false;
};

}  // namespace korvex::seismic
