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
#include <cstring>
#include <mutex>

#include "korvex/config/base.h"
#include "korvex/seismic/file_status.h"
#include "korvex/seismic/irregular_geometry_error.h"
#include "korvex/seismic/plane_checksum.h"
#include "korvex/seismic/sample_format.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Bytes of samples per slab: large reads, a few slabs of memory.
constexpr std::size_t SLAB_BYTES = 16 << 20;

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

// pread or pwrite until done; false on an error or an early end of file.
template <typename Buffer, typename Transfer>
bool transfer_fully(Transfer transfer, int fd, Buffer buffer, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t done = transfer(fd, buffer, size, offset);
        if (done <= 0) return false;
        buffer += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

bool read_fully(int fd, char* buffer, std::size_t size, off_t offset) {
    return transfer_fully(::pread, fd, buffer, size, offset);
}

bool write_fully(int fd, const char* buffer, std::size_t size, off_t offset) {
    return transfer_fully(::pwrite, fd, buffer, size, offset);
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

bool SectionCacheBuilder::run() {
    ignore_file_size_signal();
    header_ = CacheHeader::for_volume(volume_);
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
        error != 0 && error != EOPNOTSUPP) {
        errno = error;
        fail(path_, _("cannot be written: %1").arg(write_error()));
    }
    if (!write_planes(segy.fd, part.handle())) return false;

    if (FileStatus::of(segy.fd) != volume_.file_status())
        fail(volume_.path(), _("the file changed on disk while its section cache was built"));
    header_.set_amplitudes(amplitudes_.stats());
    if (!write_fully(part.handle(), reinterpret_cast<const char*>(&header_), sizeof header_, 0))
        fail(path_, _("cannot be written: %1").arg(write_error()));
    // On the disk before it is declared ready: a user's first reads through the cache must
    // not queue behind a gigabyte of pending writes.
    if (::fdatasync(part.handle()) != 0) fail(path_, _("cannot be written: %1").arg(write_error()));
    part.close();
    if (::rename(QFile::encodeName(part.fileName()).constData(),
                 QFile::encodeName(path_).constData()) != 0)
        fail(path_, _("cannot be written: %1").arg(write_error()));
    part.setAutoRemove(false);
    return true;
}

bool SectionCacheBuilder::write_planes(int segy, int cache) {
    const SegyGeometry& g = volume_.geometry();
    const int samples = g.samples;
    const int slow = header_.slow_lines;
    const int fast = header_.fast_lines;
    const std::size_t stride = volume_.trace_stride();
    const std::size_t line_bytes = std::size_t(fast) * samples * sizeof(float);
    const int slab_lines = std::clamp(int(SLAB_BYTES / line_bytes), 1, slow);

    std::vector<char> raw(std::size_t(slab_lines) * fast * stride);
    std::vector<float> slab(std::size_t(slab_lines) * fast * samples);
    std::vector<float> trace(samples);
    std::vector<PlaneChecksum> checksums(samples);

    for (int first = 0; first < slow; first += slab_lines) {
        const int lines = std::min(slab_lines, slow - first);
        const std::size_t traces = std::size_t(lines) * fast;
        const off_t offset = volume_.first_trace_offset() + off_t(first) * fast * stride;
        if (first + lines < slow)
            ::posix_fadvise(segy, offset + off_t(traces * stride),
                            off_t(std::min(slab_lines, slow - first - lines)) * fast * stride,
                            POSIX_FADV_WILLNEED);
        if (!read_fully(segy, raw.data(), traces * stride, offset))
            fail(volume_.path(), _("reading traces %1 to %2 failed: the file is shorter than "
                                   "its headers describe (truncated while open?)")
                                     .arg(static_cast<long long>(first) * fast + 1)
                                     .arg(static_cast<long long>(first) * fast + traces));

        // Trace-major in, plane-major out: each trace spreads over every plane's run.
        for (std::size_t t = 0; t < traces; ++t) {
            const char* header = raw.data() + t * stride;
            check_trace(header, static_cast<long long>(first) * fast + t);
            sample_format::to_floats(g.sample_encoding(), header + volume_.layout().sample_offset(),
                                     trace.data(), samples);
            amplitudes_.add(trace.data(), trace.size());
            for (int s = 0; s < samples; ++s) slab[s * traces + t] = trace[s];
        }
        for (int s = 0; s < samples; ++s) {
            const float* run = slab.data() + s * traces;
            checksums[s].add(run, traces);
            const off_t at = off_t(CacheHeader::SIZE) + off_t(s) * header_.plane_bytes() +
                             off_t(first) * fast * sizeof(float);
            if (!write_fully(cache, reinterpret_cast<const char*>(run), traces * sizeof(float), at))
                fail(path_, _("cannot be written: %1").arg(write_error()));
        }
        // Writing back behind the pass keeps the disk busy with the cache while the next slab
        // is read, rather than leaving all of it to the final flush.
        ::sync_file_range(cache, 0, 0, SYNC_FILE_RANGE_WRITE);
        if (progress_ && !progress_(double(first + lines) / slow)) return false;
    }

    std::vector<uint64_t> sums(samples);
    std::transform(checksums.begin(), checksums.end(), sums.begin(),
                   [](const PlaneChecksum& sum) { return sum.value(); });
    if (!write_fully(cache, reinterpret_cast<const char*>(sums.data()),
                     sums.size() * sizeof(uint64_t), off_t(header_.checksums_offset())))
        fail(path_, _("cannot be written: %1").arg(write_error()));
    return true;
}

void SectionCacheBuilder::check_trace(const char* header, long long trace) const {
    const SegyGeometry& g = volume_.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long slow_index = trace / header_.fast_lines;
    const long long fast_index = trace % header_.fast_lines;
    const int expected_iline = g.ilines[by_inline ? slow_index : fast_index];
    const int expected_xline = g.xlines[by_inline ? fast_index : slow_index];
    const int iline = volume_.layout().field(header, volume_.header_bytes().iline);
    const int xline = volume_.layout().field(header, volume_.header_bytes().xline);
    if (iline != expected_iline || xline != expected_xline) irregular(trace, iline, xline);
}

void SectionCacheBuilder::irregular(long long trace, int iline, int xline) const {
    const SegyGeometry& g = volume_.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    const long long slow_index = trace / header_.fast_lines;
    const long long fast_index = trace % header_.fast_lines;
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
