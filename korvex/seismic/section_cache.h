#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

class MappedFile;
class SegyVolumeFile;

// A second copy of a volume's samples, laid out so that time slices are as quick to read
// as lines.
//
// Why transposed, and only in time: a post-stack SEG-Y file is already trace-major, so an
// inline or a crossline is a run of whole traces in it, each a contiguous block that is
// converted to floats at close to memory speed, whichever way the file is sorted. What the
// file lacks is the time direction: a time slice takes one sample from every trace, a
// gather that touches every page of the file. The cache therefore holds the samples
// time-major, as native floats: plane after plane, one per sample, each plane the traces
// in file order. A time slice is then one contiguous block, and the cache is no larger
// than the volume. Bricks would serve all three directions from one copy, but every
// direction would then read several times the bytes it needs; here every read takes only
// its own bytes, lines from the SEG-Y file and time slices from the cache. Lines scattered
// through the file cost a page fault per trace on first use; build() maps the whole file
// while the pass has it in the page cache, so that afterwards they do not.
//
// The file is checked before it is trusted: a header naming the SEG-Y file's size,
// modification and change times, device and inode, a checksum of its headers and one of a
// few dozen of its traces, the geometry, and a checksum of its own; each plane carries a checksum
// too, verified on every read, so a damaged cache throws instead of drawing garbage. It is written
// under a temporary name and renamed when complete, so a cache file is never seen half written.
//
// The cache refers to the volume it was opened with, which must outlive it. Reads are
// const and may run concurrently on several threads.
class KORVEX_SEISMIC_EXPORT SectionCache final {
public:
    // Called during a build with the fraction done (0..1); returning false cancels.
    using Progress = std::function<bool(double fraction)>;

    // ~/.cache/korvex/sections: where caches go when there is no project folder.
    static QString default_folder();

    // The cache at `path` if it belongs to `volume` as it is now; nullptr when it is
    // missing, stale, foreign or damaged, with the reason in `why_not`. Never throws for
    // those: such a cache is simply built again.
    static std::unique_ptr<SectionCache> open(const SegyVolumeFile& volume, const QString& path,
                                              QString* why_not = nullptr);

    // Builds the cache of `volume` at `path` in one sequential pass over the SEG-Y file,
    // checking every trace header on the way, and opens it. Returns nullptr when
    // `progress` cancels. Throws IrregularGeometryError when a trace is out of place,
    // utils::ValueError naming the file when reading or writing fails. Meant for a worker
    // thread: it takes as long as reading the file.
    static std::unique_ptr<SectionCache> build(const SegyVolumeFile& volume, const QString& path,
                                               const Progress& progress = {});

    ~SectionCache();
    SectionCache(const SectionCache&) = delete;
    SectionCache& operator=(const SectionCache&) = delete;

    const QString& path() const { return path_; }
    // Figures over every sample of the volume, counted when the cache was built.
    const AmplitudeStats& amplitude_stats() const { return amplitudes_; }

    // Reads the section of `kind` at `index` into `out`, as SegyVolumeFile::read does.
    // A damaged cache throws utils::ValueError naming the cache file.
    void read(SectionKind kind, int index, float* out) const;
    Section read(SectionKind kind, int index) const;

private:
    SectionCache(const SegyVolumeFile& volume, const QString& path, std::unique_ptr<MappedFile> map,
                 std::size_t plane_stride, std::vector<uint64_t> checksums,
                 AmplitudeStats amplitudes);
    void read_plane(int sample, float* out) const;

    const SegyVolumeFile& volume_;
    QString path_;
    std::unique_ptr<MappedFile> map_;
    std::size_t plane_stride_;
    std::vector<uint64_t> checksums_;
    AmplitudeStats amplitudes_;
};

}  // namespace korvex::seismic
