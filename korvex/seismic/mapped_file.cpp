#include "korvex/seismic/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csetjmp>
#include <csignal>
#include <cstring>
#include <mutex>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// The kernel's smallest read-ahead window: an announcement is read up to the larger of the
// device's window and its largest request, 128 KiB where nobody changed either.
constexpr long long ANNOUNCED_PIECE = 128 << 10;
const long long PAGE = ::sysconf(_SC_PAGESIZE);

// The copy running on this thread, if any: where a SIGBUS jumps back to.
thread_local sigjmp_buf* active_copy = nullptr;
struct sigaction previous_action;

void on_bus_error(int signal, siginfo_t* info, void* context) {
    if (active_copy) siglongjmp(*active_copy, 1);
    // Not a fault of a guarded copy: hand it to whoever handled it before.
    if (previous_action.sa_flags & SA_SIGINFO) {
        previous_action.sa_sigaction(signal, info, context);
    } else if (previous_action.sa_handler != SIG_IGN && previous_action.sa_handler != SIG_DFL) {
        previous_action.sa_handler(signal);
    } else {
        // Returning re-runs the faulting access, which now meets the default action.
        ::sigaction(signal, &previous_action, nullptr);
    }
}

void install_bus_error_handler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = on_bus_error;
        // SIGBUS stays unblocked in the handler, so a copy need not save the signal mask
        // (a system call) to restore it when it jumps out.
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previous_action);
    });
}

}  // namespace

MappedFile::MappedFile(const QString& path) : path_(path) {
    install_bus_error_handler();
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        fail(_("cannot be opened for reading: %1")
                 .arg(QString::fromLocal8Bit(std::strerror(errno))));
    status_ = FileStatus::of(fd_).value_or(FileStatus{});
    if (status_.size <= 0) {
        ::close(fd_);
        fail(_("the file is empty"));
    }
    void* data =
        ::mmap(nullptr, static_cast<std::size_t>(status_.size), PROT_READ, MAP_SHARED, fd_, 0);
    if (data == MAP_FAILED) {
        const int error = errno;
        ::close(fd_);
        fail(_("cannot be mapped into memory: %1")
                 .arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    data_ = static_cast<const char*>(data);
}

MappedFile::~MappedFile() {
    ::munmap(const_cast<char*>(data_), static_cast<std::size_t>(status_.size));
    ::close(fd_);
}

void MappedFile::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

void MappedFile::populate_up_to(long long end) const {
    // Held while mapping: a release() meanwhile lowers the mark only once this is done.
    const std::lock_guard<std::mutex> lock(populating_);
    if (end <= populated_up_to_) return;
    advise(populated_up_to_, end - populated_up_to_, MADV_POPULATE_READ);
    populated_up_to_ = end;
}

void MappedFile::populate() const {
    // What earlier calls mapped is not walked again: for a gigabyte that takes a tenth of a
    // second even with every page mapped.
    const std::lock_guard<std::mutex> lock(populating_);
    const long long from = std::min<long long>(populated_up_to_, status_.size) / PAGE * PAGE;
    populated_ = ::madvise(const_cast<char*>(data_) + from,
                           static_cast<std::size_t>(status_.size - from), MADV_POPULATE_READ) == 0;
    // Every page was just read in: the next reads need not look.
    if (populated_) {
        due(next_residency_check_);
        wholly_resident_ = true;
    }
}

void MappedFile::expect_random_access() const {
    ::madvise(const_cast<char*>(data_), static_cast<std::size_t>(status_.size), MADV_RANDOM);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_RANDOM);
}

void MappedFile::read_at(long long offset, char* target, std::size_t size,
                         const QString& what) const {
    while (size > 0) {
        const ssize_t done = ::pread(fd_, target, size, offset);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0)
            fail(_("reading %1 failed: the file ends before the data its headers describe "
                   "(truncated while open?)")
                     .arg(what));
        target += done;
        size -= std::size_t(done);
        offset += done;
    }
}

void MappedFile::release(long long offset, long long length) const {
    if (populated_) return;
    advise(offset, length, MADV_DONTNEED);
    // What populate() must map again.
    const std::lock_guard<std::mutex> lock(populating_);
    populated_up_to_ = std::min(populated_up_to_, offset);
}

void MappedFile::advise(long long offset, long long length, int advice) const {
    const long long start = offset / PAGE * PAGE;
    const long long end = std::min<long long>(offset + length, status_.size);
    if (end > start)
        ::madvise(const_cast<char*>(data_) + start, static_cast<std::size_t>(end - start), advice);
}

void MappedFile::will_need(long long offset, long long length) const {
    for (long long piece = 0; piece < length; piece += ANNOUNCED_PIECE)
        ::posix_fadvise(fd_, offset + piece, std::min(ANNOUNCED_PIECE, length - piece),
                        POSIX_FADV_WILLNEED);
}

bool MappedFile::resident(long long offset) const {
    unsigned char in_core = 0;
    const long long start = offset / PAGE * PAGE;
    const int failed = ::mincore(const_cast<char*>(data_) + start, 1, &in_core);
    return failed != 0 || (in_core & 1) != 0;
}

bool MappedFile::wholly_resident() const {
    if (!due(next_residency_check_)) return wholly_resident_;
    std::vector<unsigned char> pages(std::size_t((status_.size + PAGE - 1) / PAGE));
    const bool all =
        ::mincore(const_cast<char*>(data_), std::size_t(status_.size), pages.data()) == 0 &&
        std::all_of(pages.begin(), pages.end(), [](unsigned char p) { return p & 1; });
    wholly_resident_ = all;
    return all;
}

bool MappedFile::due(std::atomic<int64_t>& next) {
    // The monotonic clock is read without entering the kernel.
    const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    int64_t expected = next.load();
    return now >= expected && next.compare_exchange_strong(expected, now + CHECK_INTERVAL_MS);
}

void MappedFile::check_unchanged(const QString& what) const {
    // Size and time only: a change of owner or mode alone leaves the samples as they were.
    const FileStatus now = FileStatus::of(fd_).value_or(FileStatus{-1});
    if (now.size != status_.size || now.mtime_ns != status_.mtime_ns)
        fail(_("reading %1 failed: the file changed on disk after it was opened (now %2 bytes, "
               "was %3); open it again")
                 .arg(what)
                 .arg(now.size)
                 .arg(status_.size));
}

void MappedFile::guarded_copy(const QString& what, void (*run)(void*, const char*),
                              void* context) const {
    sigjmp_buf landing;
    sigjmp_buf* const outer = active_copy;
    if (sigsetjmp(landing, 0) != 0) {
        active_copy = outer;
        fail(_("reading %1 failed: the file ends before the data its headers describe "
               "(truncated while open?)")
                 .arg(what));
    }
    active_copy = &landing;
    run(context, data_);
    active_copy = outer;
    if (due(next_status_check_)) check_unchanged(what);
}

}  // namespace korvex::seismic
