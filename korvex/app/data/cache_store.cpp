#include "korvex/app/data/cache_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "korvex/seismic/section_cache.h"

namespace korvex::app::data {

CacheStore::CacheStore(const QString& user_folder, QObject* parent)
    : QObject(parent), user_folder_(user_folder) {
    const QSettings settings;
    beside_project_ = settings.value(BESIDE_PROJECT_KEY, false).toBool();
    limit_bytes_ = settings.value(LIMIT_KEY, DEFAULT_LIMIT_MB).toLongLong() << 20;
}

CacheStore::CacheStore(QObject* parent)
    : CacheStore(seismic::SectionCache::default_folder(), parent) {}

void CacheStore::set_beside_project(bool beside) {
    beside_project_ = beside;
    QSettings().setValue(BESIDE_PROJECT_KEY, beside);
}

void CacheStore::set_limit_bytes(long long bytes) {
    limit_bytes_ = bytes;
    QSettings().setValue(LIMIT_KEY, bytes >> 20);
}

void CacheStore::set_project(const QString& project_path) { project_path_ = project_path; }

QStringList CacheStore::folders() const {
    if (!beside_project_ || project_path_.isEmpty()) return {user_folder_};
    const QFileInfo project(project_path_);
    const QFileInfo beside(
        project.absoluteDir().filePath(project.completeBaseName() + QStringLiteral(".cache")));
    const bool writable =
        beside.exists() ? beside.isWritable() : QFileInfo(project.absolutePath()).isWritable();
    if (!writable) return {user_folder_};
    return {beside.filePath(), user_folder_};
}

}  // namespace korvex::app::data
