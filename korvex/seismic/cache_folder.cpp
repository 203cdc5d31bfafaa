#include "korvex/seismic/cache_folder.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "korvex/seismic/cache_lock.h"
#include "korvex/seismic/segy_volume_file.h"

namespace korvex::seismic {

namespace {

const QString SUFFIX = QStringLiteral(".sections");

QString identity(uint64_t device, uint64_t inode) {
    return QStringLiteral("%1 %2").arg(device).arg(inode);
}

// Whether the file a cache's note names is still there, as the same file.
bool source_present(const QString& note) {
    const QStringList lines = note.split('\n');
    struct stat info {};
    return ::stat(QFile::encodeName(lines.value(0)).constData(), &info) == 0 &&
           identity(info.st_dev, info.st_ino) == lines.value(1);
}

bool remove_unless_held(const QString& cache_path) {
    const CacheLock lock(cache_path, {});
    if (!lock.locked()) return false;
    QFile::remove(cache_path);
    lock.remove_file();
    return true;
}

}  // namespace

QString CacheFolder::path_for(const SegyVolumeFile& volume) const {
    return path_for(volume, volume.placing());
}

QString CacheFolder::path_for(const SegyVolumeFile& volume,
                              SegyVolumeFile::TracePlacing placing) const {
    const FileStatus& file = volume.file_status();
    // The same file read with other header bytes is another volume. Its traces placed anew
    // after the full check found some out of the sampled place lie on another grid, which
    // the sampled opening must not take for its own: the traces' order may be all that
    // differs, which a cache's header cannot tell.
    QString key = QStringLiteral("%1|%2|%3")
                      .arg(identity(file.device, file.inode))
                      .arg(volume.header_bytes().iline)
                      .arg(volume.header_bytes().xline);
    if (placing == SegyVolumeFile::TracePlacing::every_trace) key += QStringLiteral("|every trace");
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(path_).filePath(QStringLiteral("%1-%2%3").arg(
        QFileInfo(volume.path()).completeBaseName(), QString::fromLatin1(hash), SUFFIX));
}

void CacheFolder::note_source(const CacheLock& lock, const SegyVolumeFile& volume) {
    const FileStatus& file = volume.file_status();
    lock.set_note(QFileInfo(volume.path()).absoluteFilePath() + '\n' +
                  identity(file.device, file.inode));
}

void CacheFolder::touch(const QString& cache_path) {
    QFile file(cache_path);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
}

QStringList CacheFolder::remove_orphans() const {
    QStringList removed;
    for (const QFileInfo& cache : QDir(path_).entryInfoList({'*' + SUFFIX}, QDir::Files)) {
        QFile note(CacheLock::path_for(cache.filePath()));
        if (!note.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(note.readAll());
        if (!text.isEmpty() && !source_present(text) && remove_unless_held(cache.filePath()))
            removed << cache.filePath();
    }
    return removed;
}

QStringList CacheFolder::trim(long long limit_bytes) const {
    // Newest first: the oldest are at the end, where the total first passes the limit.
    const QFileInfoList caches = QDir(path_).entryInfoList({'*' + SUFFIX}, QDir::Files, QDir::Time);
    QStringList removed;
    long long total = 0;
    for (const QFileInfo& cache : caches) {
        total += cache.size();
        if (total > limit_bytes && remove_unless_held(cache.filePath())) {
            removed << cache.filePath();
            total -= cache.size();
        }
    }
    return removed;
}

}  // namespace korvex::seismic
