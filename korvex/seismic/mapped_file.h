#pragma once

#include <sys/types.h>

#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <type_traits>

#include "korvex/seismic/file_status.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A file mapped read-only into memory, read through guarded copies.
//
// A memory map is the fastest way to gather a time slice out of a trace-ordered file,
// but touching a page past the end of a file that was truncated while mapped raises
// SIGBUS, which would kill the process. Every access therefore runs inside copy():
// a SIGBUS raised by the copying thread jumps back out of the copy, and copy() throws
// a ValueError naming the file. Copies make no system call of their own: a crossline of a
// small file takes tens of microseconds, which a status call per read would visibly slow.
// The file's size and modification time are compared with those seen at opening after a
// copy at most once every CHECK_INTERVAL_MS, so a file rewritten in place is reported
// soon after instead of yielding a mix of old and new data for long.
//
// The mapped pages are the kernel's page cache: they count as shared file pages of the
// process and are dropped under memory pressure, so a file larger than memory maps fine.
// Copies may run concurrently from several threads.
class KORVEX_SEISMIC_EXPORT MappedFile final {
public:
    static constexpr int CHECK_INTERVAL_MS = 1000;

    // Throws utils::ValueError naming the file when it cannot be opened or mapped.
    explicit MappedFile(const QString& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const QString& path() const { return path_; }
    long long size() const { return status_.size; }
    // The file as it was at opening.
    const FileStatus& status() const { return status_; }

    // Runs `body(const char* data)` over the mapping; `what` names the data in errors.
    // `body` must not allocate or hold objects with destructors: a fault abandons it midway.
    template <typename Copy>
    void copy(const QString& what, Copy&& body) const {
        struct Thunk {
            static void run(void* context, const char* data) {
                (*static_cast<std::remove_reference_t<Copy>*>(context))(data);
            }
        };
        guarded_copy(what, &Thunk::run, &body);
    }

    // Copies `size` bytes at `offset` into `target` through the file, not the map: a read
    // among many spread over the file then costs its own bytes only, where a page fault
    // would map the 64 KiB around it that are in the page cache (which, for a few thousand
    // such reads, is most of a file in memory, mapped and unmapped again). Throws like
    // copy() when the file ends early.
    void read_at(long long offset, char* target, std::size_t size, const QString& what) const;

    // Enters every page of the file into the map now, reading from the disk what the page
    // cache lacks; later copies then cost no page faults, and release() keeps the pages
    // mapped from then on: taken out, they would only be faulted back in by the next line
    // across the file's sorting. Best effort: a failure (a file truncated meanwhile, an
    // older kernel) only leaves the pages to be mapped on first use.
    void populate() const;
    // The same for the bytes before `end`, from where the last call stopped: a pass over the
    // file maps each piece while it is in the page cache, and the closing populate() is left
    // with the rest, and with what release() took out meanwhile. Until then the map does not
    // count as populated.
    void populate_up_to(long long end) const;

    // Asks the kernel to start reading these bytes into the page cache, and returns at
    // once: scattered reads announced together reach the disk together instead of one
    // after another. Any length: the kernel reads at most its read-ahead window for one
    // announcement, so a long one is made in pieces. Best effort.
    void will_need(long long offset, long long length) const;
    // Tells the kernel that reads of the map and read_at() are scattered: a page fault or
    // a read then takes what it needs only, not the megabytes around it (the device's
    // read-ahead), which for a line across a file's sorting, or ascending reads spread over
    // the file, would read most of the file. Callers announce with will_need() what they
    // will read together.
    void expect_random_access() const;
    // Takes the pages of these bytes out of the process's map, unless the whole file was
    // populate()d; the page cache keeps them, and the next copy maps them again as it
    // touches them. Best effort.
    void release(long long offset, long long length) const;
    // Whether the page holding byte `offset` is in the page cache now.
    bool resident(long long offset) const;
    // Whether every page of the file was in the page cache when last looked at, which is
    // at most CHECK_INTERVAL_MS ago.
    bool wholly_resident() const;
    // Throws when the file on disk no longer has the size and time it had when opened.
    void check_unchanged(const QString& what) const;

private:
    // madvise() over the whole pages of these bytes within the file.
    void advise(long long offset, long long length, int advice) const;
    void guarded_copy(const QString& what, void (*run)(void*, const char*), void* context) const;
    // Whether a periodic look at the file is due; claims it when it is.
    static bool due(std::atomic<int64_t>& next);
    [[noreturn]] void fail(const QString& what) const;

    QString path_;
    int fd_ = -1;
    FileStatus status_;
    const char* data_ = nullptr;
    mutable std::atomic<int64_t> next_status_check_{0};
    mutable std::atomic<int64_t> next_residency_check_{0};
    mutable std::atomic<bool> wholly_resident_{false};
    mutable std::atomic<bool> populated_{false};
    mutable std::mutex populating_;
    // Every page before it is mapped, unless the file shrank.
    mutable long long populated_up_to_ = 0;
};

}  // namespace korvex::seismic
