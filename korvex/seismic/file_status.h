#pragma once

#include <cstdint>
#include <optional>

namespace korvex::seismic {

// What the file system says about an open file, as far as telling its versions apart.
// Size and modification time can both be put back by whoever rewrites a file (`touch -r`);
// the change time cannot, short of resetting the clock, and the device and inode tell a
// file replaced under the same name from the one that was there.
struct FileStatus {
    int64_t size = 0;
    int64_t mtime_ns = 0;
    int64_t ctime_ns = 0;
    uint64_t device = 0;
    uint64_t inode = 0;

    // None when fstat fails.
    static std::optional<FileStatus> of(int fd);

    bool operator==(const FileStatus& other) const;
    bool operator!=(const FileStatus& other) const { return !(*this == other); }
};

}  // namespace korvex::seismic
