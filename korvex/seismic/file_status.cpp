#include "korvex/seismic/file_status.h"

#include <sys/stat.h>

namespace korvex::seismic {

std::optional<FileStatus> FileStatus::of(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return std::nullopt;
    const auto ns = [](const timespec& time) {
        return int64_t(time.tv_sec) * 1000000000LL + time.tv_nsec;
    };
    return FileStatus{int64_t(info.st_size), ns(info.st_mtim), ns(info.st_ctim),
                      uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

bool FileStatus::operator==(const FileStatus& other) const {
    return size == other.size && mtime_ns == other.mtime_ns && ctime_ns == other.ctime_ns &&
           device == other.device && inode == other.inode;
}

}  // namespace korvex::seismic
