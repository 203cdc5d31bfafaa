#include "korvex/seismic/cache_header.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

constexpr char MAGIC[8] = {'K', 'V', 'X', 'S', 'E', 'C', 'T', '\n'};
// 2: the amplitude figures. 3: the file's change time, identity and sampled traces.
// 4: planes padded to whole blocks. 5: planes hold the grid's positions, NaN for a hole.
constexpr uint32_t VERSION = 5;
constexpr int TRACE_HEADER_SIZE = 240;
constexpr long long SAMPLED_TRACES = 48;

// FNV-1a: small inputs, no need for anything faster.
constexpr uint64_t FNV_BASIS = 0xcbf29ce484222325ULL;
uint64_t fnv1a(const void* data, std::size_t size, uint64_t hash = FNV_BASIS) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
    return hash;
}

[[noreturn]] void fail_to_read(const SegyVolumeFile& volume) {
    throw utils::ValueError(QStringLiteral("%1: %2")
                                .arg(volume.path(), _("cannot read the file headers"))
                                .toStdString());
}

QByteArray read_at(QFile& file, const SegyVolumeFile& volume, long long offset, int size) {
    if (!file.seek(offset)) fail_to_read(volume);
    QByteArray bytes = file.read(size);
    if (bytes.size() != size) fail_to_read(volume);
    return bytes;
}

uint64_t identity_of(QFile& file, const SegyVolumeFile& volume) {
    const long long trace0 = volume.first_trace_offset();
    const long long last =
        trace0 + (volume.geometry().live_trace_count() - 1) * volume.trace_stride();
    const QByteArray headers = read_at(file, volume, 0, int(trace0) + TRACE_HEADER_SIZE) +
                               read_at(file, volume, last, TRACE_HEADER_SIZE);

    const SegyGeometry& g = volume.geometry();
    uint64_t hash = fnv1a(headers.constData(), headers.size());
    const long long fields[] = {volume.header_bytes().iline,
                                volume.header_bytes().xline,
                                g.samples,
                                g.format,
                                static_cast<int>(g.sorting),
                                g.hole_count};
    hash = fnv1a(fields, sizeof fields, hash);
    hash = fnv1a(g.ilines.data(), g.ilines.size() * sizeof(int), hash);
    return fnv1a(g.xlines.data(), g.xlines.size() * sizeof(int), hash);
}

// Evenly spread, the first and the last among them: a few small reads, and a rewrite in
// place is met wherever it began.
uint64_t traces_checksum_of(QFile& file, const SegyVolumeFile& volume) {
    const long long traces = volume.geometry().live_trace_count();
    const long long sampled = std::min(traces, SAMPLED_TRACES);
    uint64_t hash = FNV_BASIS;
    for (long long i = 0; i < sampled; ++i) {
        const long long trace = sampled == 1 ? 0 : i * (traces - 1) / (sampled - 1);
        const QByteArray bytes =
            read_at(file, volume, volume.first_trace_offset() + trace * volume.trace_stride(),
                    volume.trace_stride());
        hash = fnv1a(bytes.constData(), bytes.size(), hash);
    }
    return hash;
}

}  // namespace

CacheHeader CacheHeader::for_volume(const SegyVolumeFile& volume) {
    const SegyGeometry& g = volume.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    CacheHeader header;
    std::memcpy(header.magic, MAGIC, sizeof MAGIC);
    header.version = VERSION;
    const FileStatus& file = volume.file_status();
    header.segy_size = file.size;
    header.segy_mtime_ns = file.mtime_ns;
    header.segy_ctime_ns = file.ctime_ns;
    header.segy_device = file.device;
    header.segy_inode = file.inode;
    QFile segy(volume.path());
    if (!segy.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) fail_to_read(volume);
    header.segy_identity = identity_of(segy, volume);
    header.segy_traces_checksum = traces_checksum_of(segy, volume);
    header.samples = g.samples;
    header.slow_lines = by_inline ? g.iline_count() : g.xline_count();
    header.fast_lines = by_inline ? g.xline_count() : g.iline_count();
    header.checksum = header.own_checksum();
    return header;
}

uint64_t CacheHeader::own_checksum() const { return fnv1a(this, offsetof(CacheHeader, checksum)); }

bool CacheHeader::same_as(const CacheHeader& other) const {
    return std::memcmp(this, &other, offsetof(CacheHeader, amplitude_min)) == 0;
}

void CacheHeader::set_amplitudes(const AmplitudeStats& stats) {
    amplitude_min = stats.min;
    amplitude_max = stats.max;
    amplitude_rms = stats.rms;
    amplitude_clip = stats.clip;
    std::copy_n(stats.histogram.begin(),
                std::min<std::size_t>(stats.histogram.size(), AmplitudeStats::HISTOGRAM_BINS),
                histogram);
    amplitudes_checksum = checksum_of_amplitudes();
}

// Apart from the header's own checksum, so that figures a pass adds after the file's
// identity was settled cannot spoil it.
uint64_t CacheHeader::checksum_of_amplitudes() const {
    return fnv1a(&amplitude_min,
                 offsetof(CacheHeader, amplitudes_checksum) - offsetof(CacheHeader, amplitude_min));
}

std::optional<AmplitudeStats> CacheHeader::amplitudes() const {
    if (amplitudes_checksum != checksum_of_amplitudes()) return std::nullopt;
    AmplitudeStats stats;
    stats.min = amplitude_min;
    stats.max = amplitude_max;
    stats.rms = amplitude_rms;
    stats.clip = amplitude_clip;
    stats.histogram.assign(std::begin(histogram), std::end(histogram));
    return stats;
}

std::size_t CacheHeader::plane_bytes() const {
    return static_cast<std::size_t>(slow_lines) * fast_lines * sizeof(float);
}

std::size_t CacheHeader::plane_stride() const { return (plane_bytes() + SIZE - 1) / SIZE * SIZE; }

uint64_t CacheHeader::plane_offset(int sample) const {
    return SIZE + uint64_t(sample) * plane_stride();
}

uint64_t CacheHeader::checksums_offset() const { return plane_offset(samples); }

uint64_t CacheHeader::file_size() const {
    return checksums_offset() + uint64_t(samples) * sizeof(uint64_t);
}

}  // namespace korvex::seismic
