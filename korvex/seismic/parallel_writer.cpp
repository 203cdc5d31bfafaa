#include "korvex/seismic/parallel_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace korvex::seismic {

ParallelWriter::ParallelWriter(int fd, int threads) : fd_(fd) {
    try {
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    } catch (...) {
        // Out of threads: those already started must be joined, or destroying them ends
        // the program instead of failing the write.
        stop();
        throw;
    }
}

ParallelWriter::~ParallelWriter() {
    wait();
    stop();
}

void ParallelWriter::stop() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void ParallelWriter::write(const char* data, std::size_t size, off_t offset) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back({data, size, offset});
    }
    queued_.notify_one();
}

int ParallelWriter::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return jobs_.empty() && running_ == 0; });
    return error_;
}

void ParallelWriter::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        queued_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        const Job job = jobs_.front();
        jobs_.pop_front();
        ++running_;
        // After a failure the rest is not worth the disk's time.
        const bool skip = error_ != 0;
        lock.unlock();
        const int error = skip ? 0 : write_all(fd_, job.data, job.size, job.offset);
        lock.lock();
        if (error != 0 && error_ == 0) error_ = error;
        if (--running_ == 0 && jobs_.empty()) idle_.notify_all();
    }
}

int ParallelWriter::write_all(int fd, const char* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, size, offset);
        if (done < 0 && errno == EINVAL) {
            const int flags = ::fcntl(fd, F_GETFL);
            if (flags >= 0 && (flags & O_DIRECT) != 0 &&
                ::fcntl(fd, F_SETFL, flags & ~O_DIRECT) == 0)
                continue;
        }
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return done < 0 ? errno : EIO;
        data += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return 0;
}

}  // namespace korvex::seismic
