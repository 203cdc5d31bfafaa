#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Writes blocks to one file from a few threads at once.
//
// A write that bypasses the page cache (O_DIRECT) returns only when the disk has the bytes,
// so a pass that wrote its many runs one after another would wait for the disk once per
// run. Handed to a few threads, several runs are in flight together and the disk streams;
// the caller meanwhile prepares the next ones. The buffers handed in must stay untouched
// until wait() returns.
//
// On a file system that refuses direct writes at write time (EINVAL), the file falls back to
// ordinary writes and the refused write is done again.
class KORVEX_SEISMIC_EXPORT ParallelWriter final {
public:
    // Throws std::system_error when the threads cannot be started.
    ParallelWriter(int fd, int threads);
    // Waits for the queued writes.
    ~ParallelWriter();
    ParallelWriter(const ParallelWriter&) = delete;
    ParallelWriter& operator=(const ParallelWriter&) = delete;

    void write(const char* data, std::size_t size, off_t offset);
    // Waits until every queued write is done; returns 0, or the errno of the first that
    // failed (a failed write fails every later wait()).
    int wait();

    // Writes on the calling thread, with the same fallback; returns 0 or the errno.
    static int write_all(int fd, const char* data, std::size_t size, off_t offset);

private:
    struct Job {
        const char* data;
        std::size_t size;
        off_t offset;
    };
    void work();
    // Ends the threads once the queue is empty.
    void stop();

    int fd_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable idle_;
    std::deque<Job> jobs_;
    int running_ = 0;
    int error_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace korvex::seismic
