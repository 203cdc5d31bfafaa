#pragma once

#include <QString>
#include <functional>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// The lock of one section cache, held while a pass looks for it, builds it or removes it:
// a second process (or thread) opening the same volume waits for the first's pass and then
// reuses its cache instead of building its own copy. An flock on "CACHE.lock", which the
// kernel releases when its holder dies, so a killed pass never leaves the cache locked.
class KORVEX_SEISMIC_EXPORT CacheLock final {
public:
    // Waits for the lock while `keep_waiting` says so (asked a few times a second);
    // locked() tells whether it was taken. Without `keep_waiting`, only tries once.
    CacheLock(const QString& cache_path, const std::function<bool()>& keep_waiting);
    ~CacheLock();
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;

    bool locked() const { return locked_; }
    // What the lock file says: the SEG-Y file the cache was built from, written by the
    // holder (see CacheFolder).
    QString note() const;
    void set_note(const QString& text) const;
    // Removes the lock file with the cache, while holding it.
    void remove_file() const;

    static QString path_for(const QString& cache_path);

private:
    QString path_;
    int fd_ = -1;
    bool locked_ = false;
};

}  // namespace korvex::seismic
