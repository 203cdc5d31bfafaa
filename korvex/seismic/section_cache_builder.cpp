#include "korvex/seismic/section_cache_builder.h"

#include <fcntl.h>
#include <segyio/segy.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <new>

#include "korvex/config/base.h"
#include "korvex/seismic/file_status.h"
#include "korvex/seismic/irregular_geometry_error.h"
#include "korvex/seismic/parallel_writer.h"
#include "korvex/seismic/plane_checksum.h"
#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Bytes of samples per slab: large reads, a few slabs of memory.
constexpr std::size_t SLAB_BYTES = 16 << 20;
// Slabs hold a multiple of this many traces, so that every run of a plane starts on a block.
constexpr std::size_t TRACES_PER_BLOCK = CacheHeader::SIZE / sizeof(float);
// Traces converted together before their samples are spread over the planes: the tile stays
// in the processor's cache while every plane receives a cache line of it.
constexpr std::size_t TILE_TRACES = 16;
// Runs in flight per slab: enough to keep a disk streaming.
constexpr int WRITER_THREADS = 4;

std::size_t round_up(std::size_t size, std::size_t unit) { return (size + unit - 1) / unit * unit; }

// Zeroed memory on a block boundary, whole blocks of it, as direct writes want.
using AlignedBuffer = std::unique_ptr<char[], void (*)(void*)>;
AlignedBuffer aligned_buffer(std::size_t bytes) {
    const std::size_t padded = round_up(std::max<std::size_t>(bytes, 1), CacheHeader::SIZE);
    auto* data = static_cast<char*>(std::aligned_alloc(CacheHeader::SIZE, padded));
    if (!data) throw std::bad_alloc();
    std::memset(data, 0, padded);
    return AlignedBuffer(data, &std::free);
}

// Past the page cache: a gigabyte of cache pages would push the user's other data out and
// leave the kernel a gigabyte to write back, which on a busy machine takes far longer than
// the disk needs. Best effort: where the file system refuses, writes go through the page cache.
void write_directly(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_DIRECT);
}

QString system_error() { return QString::fromLocal8Bit(std::strerror(errno)); }

// Why a write failed. Past the file-size limit the kernel refuses a write as it refuses
// one on a full disk, and it is reported the same way: as the reason the cache is missing.
QString write_error() {
    return errno == EFBIG ? _("the file-size limit (ulimit -f) is reached") : system_error();
}

// Past the file-size limit a write raises SIGXFSZ, which kills the process without a
// word; ignored, the write fails with EFBIG instead. A handler someone else installed is
// left alone.
void ignore_file_size_signal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::signal(SIGXFSZ, SIG_IGN);
    });
}

// The process's file-creation mask, read without changing it (umask() would, for a moment,
// for every thread).
mode_t process_umask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
    return 077;
}

// pread until done; false on an error or an early end of file.
bool read_fully(int fd, char* buffer, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t done = ::pread(fd, buffer, size, offset);
        if (done <= 0) return false;
        buffer += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

// Closes a file descriptor however the pass ends.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

SectionCacheBuilder::SectionCacheBuilder(const SegyVolumeFile& volume, const QString& path,
                                         Progress progress)
    : volume_(volume), path_(path), progress_(std::move(progress)) {}

void SectionCacheBuilder::fail(const QString& file, const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(file, what).toStdString());
}

void SectionCacheBuilder::check_written(int error) const {
    if (error == 0) return;
    errno = error;
    fail(path_, _("cannot be written: %1").arg(write_error()));
}

void SectionCacheBuilder::write_blocks(int cache, const void* data, std::size_t size,
                                       off_t offset) const {
    const std::size_t padded = round_up(size, CacheHeader::SIZE);
    const AlignedBuffer blocks = aligned_buffer(padded);
    std::memcpy(blocks.get(), data, size);
    check_written(ParallelWriter::write_all(cache, blocks.get(), padded, offset));
}

bool SectionCacheBuilder::run() {
    ignore_file_size_signal();
    header_ = CacheHeader::for_volume(volume_);
    // Lines scattered through the file (crosslines of an inline-sorted one) then come without
    // page faults (see SectionCache). Mapped slab by slab while each is in the page cache, on
    // the thread that counts it, rather than in one go at the end, which took a tenth of the
    // time of reading the file. A file larger than half the memory would only push other
    // data out.
    const long long memory =
        static_cast<long long>(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE);
    map_while_reading_ = volume_.file_size() < memory / 2;
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) fail(folder, _("cannot create the cache folder"));

    const FileDescriptor segy{
        ::open(QFile::encodeName(volume_.path()).constData(), O_RDONLY | O_CLOEXEC)};
    if (segy.fd < 0)
        fail(volume_.path(), _("cannot be opened for reading: %1").arg(system_error()));
    ::posix_fadvise(segy.fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // Written under a temporary name, renamed when whole: a reader never sees a partial cache.
    QTemporaryFile part(path_ + QStringLiteral(".XXXXXX.part"));
    if (!part.open()) fail(path_, _("cannot be written: %1").arg(part.errorString()));
    // Another user of the group may share the cache, as the umask allows it for any file.
    ::fchmod(part.handle(), 0666 & ~process_umask());
    // Room taken at once: a full disk or the file-size limit is met before the pass, not
    // at its end, and the planes land in few extents.
    if (const int error = ::posix_fallocate(part.handle(), 0, off_t(header_.file_size()));
        error != EOPNOTSUPP)
        check_written(error);
    write_directly(part.handle());
    if (!write_planes(segy.fd, part.handle())) return false;

    if (FileStatus::of(segy.fd) != volume_.file_status())
        fail(volume_.path(), _("the file changed on disk while its section cache was built"));
    header_.set_amplitudes(amplitudes_.stats());
    write_blocks(part.handle(), &header_, sizeof header_, 0);
    // The checksums were written in whole blocks: what lies past them is cut off.
    if (::ftruncate(part.handle(), off_t(header_.file_size())) != 0) check_written(errno);
    // On the disk before it is declared ready: a user's first reads through the cache must
    // not queue behind a gigabyte of pending writes.
    if (::fdatasync(part.handle()) != 0) fail(path_, _("cannot be written: %1").arg(write_error()));
    part.close();
    if (::rename(QFile::encodeName(part.fileName()).constData(),
                 QFile::encodeName(path_).constData()) != 0)
        fail(path_, _("cannot be written: %1").arg(write_error()));
    part.setAutoRemove(false);
    // Counts the map as whole, which it mostly is already.
    if (map_while_reading_) volume_.populate_map();
    return true;
}

bool SectionCacheBuilder::write_planes(int segy, int cache) {
    const int samples = volume_.geometry().samples;
    const std::size_t stride = volume_.trace_stride();
    // Positions of the grid, holes among them, in the order of the cache's planes.
    const std::size_t total = std::size_t(header_.slow_lines) * header_.fast_lines;
    const std::size_t blocks_per_slab =
        std::max<std::size_t>(1, SLAB_BYTES / (TRACES_PER_BLOCK * samples * sizeof(float)));
    const std::size_t slab_traces =
        std::min(blocks_per_slab * TRACES_PER_BLOCK, round_up(total, TRACES_PER_BLOCK));
    const std::size_t slab_bytes = slab_traces * samples * sizeof(float);

    std::vector<char> raw(slab_traces * stride);
    std::vector<PlaneChecksum> checksums(samples);
    // While one slab's runs are on their way to the disk, the next is made in the other.
    const AlignedBuffer slabs[2] = {aligned_buffer(slab_bytes), aligned_buffer(slab_bytes)};
    ParallelWriter writers[2] = {{cache, WRITER_THREADS}, {cache, WRITER_THREADS}};
    // A slab's checksums and amplitude figures are counted on a thread of their own while
    // this one reads and transposes the next: on one thread, counting every sample took two
    // fifths of the pass's time, and the pass kept the disk waiting.
    std::future<void> counting;

    for (std::size_t first = 0, slab = 0; first < total; first += slab_traces, ++slab) {
        const std::size_t traces = std::min(slab_traces, total - first);
        announce(segy, first + traces, std::min(slab_traces, total - first - traces));
        read_slab(segy, first, traces, raw.data());

        ParallelWriter& writer = writers[slab % 2];
        check_written(writer.wait());
        auto* planes = reinterpret_cast<float*>(slabs[slab % 2].get());
        transpose(raw.data(), first, traces, planes, slab_traces);
        // The last runs are padded with zeros to a whole block, which the plane's padding holds.
        const std::size_t run_floats = round_up(traces, TRACES_PER_BLOCK);
        for (int s = 0; s < samples; ++s) {
            float* run = planes + std::size_t(s) * slab_traces;
            std::fill(run + traces, run + run_floats, 0.0f);
            writer.write(reinterpret_cast<const char*>(run), run_floats * sizeof(float),
                         off_t(header_.plane_offset(s) + first * sizeof(float)));
        }
        // The slab before is counted whole first: a plane's checksum takes its runs in order.
        // It also frees that slab's buffer for the next one.
        if (counting.valid()) counting.get();
        counting = std::async(std::launch::async, [=, &checksums] {
            if (map_while_reading_) map_into_volume(first, traces);
            for (std::size_t s = 0; s < checksums.size(); ++s) {
                const float* run = planes + s * slab_traces;
                checksums[s].add(run, traces);
                amplitudes_.add(run, traces);
            }
        });
        if (progress_ && !progress_(double(first + traces) / total)) return false;
    }
    if (counting.valid()) counting.get();
    for (ParallelWriter& writer : writers) check_written(writer.wait());

    std::vector<uint64_t> sums(samples);
    std::transform(checksums.begin(), checksums.end(), sums.begin(),
                   [](const PlaneChecksum& sum) { return sum.value(); });
    write_blocks(cache, sums.data(), sums.size() * sizeof(uint64_t),
                 off_t(header_.checksums_offset()));
    return true;
}

std::pair<long long, long long> SectionCacheBuilder::traces_of(std::size_t first,
                                                               std::size_t count) const {
    const auto [low, high] = volume_.geometry().trace_span(long(first), long(first + count));
    // An unsorted file's traces are spread over it: they are not a stretch of it.
    if (high < 0 || std::size_t(high - low) > 2 * count) return {0, 0};
    return {low, high - low + 1};
}

void SectionCacheBuilder::announce(int segy, std::size_t first, std::size_t count) const {
    const auto [trace, traces] = traces_of(first, count);
    const long long stride = volume_.trace_stride();
    if (traces > 0)
        ::posix_fadvise(segy, off_t(volume_.first_trace_offset() + trace * stride),
                        off_t(traces * stride), POSIX_FADV_WILLNEED);
}

void SectionCacheBuilder::map_into_volume(std::size_t first, std::size_t count) const {
    const auto [trace, traces] = traces_of(first, count);
    if (traces > 0) volume_.populate_map_up_to(trace + traces);
}

void SectionCacheBuilder::read_slab(int segy, std::size_t first, std::size_t count,
                                    char* raw) const {
    const SegyGeometry& g = volume_.geometry();
    const std::size_t stride = volume_.trace_stride();
    // Positions whose traces follow each other in the file go in one read: a file that
    // fills its grid in order reads the whole slab at once, a sorted one with holes a line.
    for (std::size_t run = 0; run < count;) {
        const long long trace = g.trace_at(long(first + run));
        std::size_t end = run + 1;
        if (trace < 0) {
            run = end;
            continue;
        }
        while (end < count && g.trace_at(long(first + end)) == trace + long(end - run)) ++end;
        const off_t offset = off_t(volume_.first_trace_offset() + trace * long(stride));
        if (!read_fully(segy, raw + run * stride, (end - run) * stride, offset))
            fail(volume_.path(), _("reading traces %1 to %2 failed: the file is shorter than "
                                   "its headers describe (truncated while open?)")
                                     .arg(trace + 1)
                                     .arg(trace + long(end - run)));
        run = end;
    }
}

void SectionCacheBuilder::transpose(const char* raw, std::size_t first, std::size_t traces,
                                    float* planes, std::size_t row_floats) {
    const SegyGeometry& g = volume_.geometry();
    const int samples = g.samples;
    const std::size_t stride = volume_.trace_stride();
    std::vector<float> tile(TILE_TRACES * samples);
    // Trace-major in, plane-major out.
    for (std::size_t first_in_tile = 0; first_in_tile < traces; first_in_tile += TILE_TRACES) {
        const std::size_t count = std::min(TILE_TRACES, traces - first_in_tile);
        for (std::size_t t = 0; t < count; ++t) {
            const auto position = static_cast<long long>(first + first_in_tile + t);
            float* values = tile.data() + t * samples;
            if (g.trace_at(position) < 0) {
                std::fill(values, values + samples, std::numeric_limits<float>::quiet_NaN());
                continue;
            }
            const char* header = raw + (first_in_tile + t) * stride;
            // The file is compared with the one opened after the pass, so headers that
            // opening placed one by one hold what they held then.
            if (!volume_.every_trace_placed()) check_trace(header, position);
            sample_format::to_floats(g.sample_encoding(), header + volume_.layout().sample_offset(),
                                     values, samples);
        }
        for (int s = 0; s < samples; ++s) {
            float* out = planes + std::size_t(s) * row_floats + first_in_tile;
            // Each plane's row is a cache line of its own, hundreds of them per tile, too many
            // for the processor to see coming: without asking for the next tile's line now,
            // every store waited for its line to be fetched (two thirds of the transpose).
            __builtin_prefetch(out + TILE_TRACES, 1);
            for (std::size_t t = 0; t < count; ++t) out[t] = tile[t * samples + s];
        }
    }
}

void SectionCacheBuilder::check_trace(const char* header, long long position) const {
    const SegyGeometry& g = volume_.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long slow_index = position / header_.fast_lines;
    const long long fast_index = position % header_.fast_lines;
    const int expected_iline = g.ilines[by_inline ? slow_index : fast_index];
    const int expected_xline = g.xlines[by_inline ? fast_index : slow_index];
    const int iline = volume_.layout().field(header, volume_.header_bytes().iline);
    const int xline = volume_.layout().field(header, volume_.header_bytes().xline);
    if (iline != expected_iline || xline != expected_xline) irregular(position, iline, xline);
}

void SectionCacheBuilder::irregular(long long position, int iline, int xline) const {
    const SegyGeometry& g = volume_.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long slow_index = position / header_.fast_lines;
    const long long fast_index = position % header_.fast_lines;
    const long long trace = g.trace_at(position);
    const int expected_iline = g.ilines[by_inline ? slow_index : fast_index];
    const int expected_xline = g.xlines[by_inline ? fast_index : slow_index];

    const auto il = std::find(g.ilines.begin(), g.ilines.end(), iline);
    const auto xl = std::find(g.xlines.begin(), g.xlines.end(), xline);
    using Fault = IrregularGeometryError::Fault;
    Fault fault = Fault::off_grid;
    QString what = _("lies off the survey grid");
    if (il != g.ilines.end() && xl != g.xlines.end()) {
        // Every trace before this one sat at its place, so an earlier place means a repeat.
        const long long place =
            g.trace_number(int(il - g.ilines.begin()), int(xl - g.xlines.begin()));
        fault = place < trace ? Fault::duplicate : Fault::misplaced;
        what = place < trace ? _("repeats trace %1").arg(place + 1)
                             : _("belongs at trace %1").arg(place + 1);
    }
    const QString message =
        _("%1: trace %2 (inline %3, crossline %4) %5, and inline %6, crossline %7 has no trace at "
          "its place: the traces are not on a regular grid, so sections would draw them at wrong "
          "positions")
            .arg(volume_.path())
            .arg(trace + 1)
            .arg(iline)
            .arg(xline)
            .arg(what)
            .arg(expected_iline)
            .arg(expected_xline);
    throw IrregularGeometryError(message, fault, trace + 1, iline, xline, expected_iline,
                                 expected_xline);
}

}  // namespace korvex::seismic
