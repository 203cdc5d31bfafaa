#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

class SegyVolumeFile;

// The first block of a section cache file: what the cache was built from and its shape.
// Written as it lies in memory; a cache from another machine fails its checksum and is
// built again, which is all a cache deserves.
//
// Layout of the file: this header, padded to SIZE bytes; then one plane of floats per
// sample, each plane the traces in the SEG-Y file's order (slow line by fast line) padded
// to a multiple of SIZE; then one PlaneChecksum value per plane. Every plane starting on
// a block lets the pass write it past the page cache (O_DIRECT wants aligned writes).
struct KORVEX_SEISMIC_EXPORT CacheHeader {
    static constexpr std::size_t SIZE = 4096;  // planes start on a page boundary

    char magic[8] = {};
    uint32_t version = 0;
    uint32_t reserved = 0;
    // The SEG-Y file as it was when the cache was built (see FileStatus).
    int64_t segy_size = 0;
    int64_t segy_mtime_ns = 0;
    int64_t segy_ctime_ns = 0;
    uint64_t segy_device = 0;
    uint64_t segy_inode = 0;
    // A checksum of the SEG-Y file's own headers, its first and last trace headers, the
    // header bytes of the line numbers and the geometry read from them.
    uint64_t segy_identity = 0;
    // A checksum of a few dozen whole traces spread through the file: samples rewritten in
    // place leave every header alone.
    uint64_t segy_traces_checksum = 0;
    int32_t samples = 0;
    int32_t slow_lines = 0;
    int32_t fast_lines = 0;
    int32_t reserved2 = 0;
    // Of every field above.
    uint64_t checksum = 0;
    // Amplitude figures over every sample, gathered by the pass that wrote the cache, so
    // that a reused cache gives them without another pass over the file.
    float amplitude_min = 0.0f;
    float amplitude_max = 0.0f;
    float amplitude_rms = 0.0f;
    float amplitude_clip = 0.0f;
    uint64_t histogram[AmplitudeStats::HISTOGRAM_BINS] = {};
    // Of the amplitude figures.
    uint64_t amplitudes_checksum = 0;

    // The header a cache of `volume` must carry. Reads a few dozen traces of the SEG-Y file;
    // throws utils::ValueError naming it when they cannot be read.
    static CacheHeader for_volume(const SegyVolumeFile& volume);

    uint64_t own_checksum() const;
    // Whether both describe the same SEG-Y file and shape (the amplitudes aside).
    bool same_as(const CacheHeader& other) const;
    void set_amplitudes(const AmplitudeStats& stats);
    // None when the figures fail their checksum.
    std::optional<AmplitudeStats> amplitudes() const;
    uint64_t checksum_of_amplitudes() const;
    // The bytes of one plane's samples, and from one plane's start to the next.
    std::size_t plane_bytes() const;
    std::size_t plane_stride() const;
    uint64_t plane_offset(int sample) const;
    uint64_t checksums_offset() const;
    uint64_t file_size() const;
};

static_assert(offsetof(CacheHeader, amplitude_min) == 96 &&
                  sizeof(CacheHeader) == 96 + 16 + 8 * (AmplitudeStats::HISTOGRAM_BINS + 1) &&
                  sizeof(CacheHeader) <= CacheHeader::SIZE,
              "the header is written as it lies in memory: no padding");

}  // namespace korvex::seismic
