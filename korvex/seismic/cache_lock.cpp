#include "korvex/seismic/cache_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QThread>

namespace korvex::seismic {

namespace {
constexpr int RETRY_MS = 50;
}  // namespace

QString CacheLock::path_for(const QString& cache_path) {
    return cache_path + QStringLiteral(".lock");
}

CacheLock::CacheLock(const QString& cache_path, const std::function<bool()>& keep_waiting)
    : path_(path_for(cache_path)) {
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    // Polled rather than blocking, so that a cancelled pass stops waiting.
    while (!(locked_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0) && keep_waiting && keep_waiting())
        QThread::msleep(RETRY_MS);
}

CacheLock::~CacheLock() {
    if (fd_ >= 0) ::close(fd_);
}

QString CacheLock::note() const {
    QFile file(path_);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void CacheLock::set_note(const QString& text) const {
    // A note that cannot be written only keeps the cache from being found an orphan.
    const QByteArray bytes = text.toUtf8();
    if (::ftruncate(fd_, 0) == 0 &&
        ::pwrite(fd_, bytes.constData(), std::size_t(bytes.size()), 0) != bytes.size())
        ::ftruncate(fd_, 0);
}

void CacheLock::remove_file() const { QFile::remove(path_); }

}  // namespace korvex::seismic
