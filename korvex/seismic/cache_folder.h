#pragma once

#include <QString>
#include <QStringList>

#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

class CacheLock;

// A folder of section caches and its upkeep. A cache is named after its SEG-Y file's
// identity (device and inode, with the header bytes read), not its path, so every project
// and every path that reaches the file finds the same cache. Its lock file notes the
// SEG-Y file's path and identity, which tells a cache whose file is gone.
class KORVEX_SEISMIC_EXPORT CacheFolder final {
public:
    explicit CacheFolder(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }
    QString path_for(const SegyVolumeFile& volume) const;
    // Where the cache of `volume`'s file would be with its traces placed as `placing` says.
    QString path_for(const SegyVolumeFile& volume, SegyVolumeFile::TracePlacing placing) const;

    // Called by the holder of a cache's lock that builds it.
    static void note_source(const CacheLock& lock, const SegyVolumeFile& volume);
    // Marks a cache used now, for trim().
    static void touch(const QString& cache_path);

    // Removes the caches whose SEG-Y file is gone or was replaced; returns their paths.
    // A cache another pass holds is left alone, as is one without a note.
    QStringList remove_orphans() const;
    // Removes the least recently used caches until all take at most `limit_bytes`; returns
    // their paths. A cache another pass holds is left alone.
    QStringList trim(long long limit_bytes) const;

private:
    QString path_;
};

}  // namespace korvex::seismic
