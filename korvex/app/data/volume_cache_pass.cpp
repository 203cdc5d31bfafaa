#include "korvex/app/data/volume_cache_pass.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>
#include <algorithm>

#include "korvex/config/base.h"
#include "korvex/seismic/background_priority.h"
#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/cache_lock.h"
#include "korvex/seismic/irregular_geometry_error.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {
constexpr int PROGRESS_INTERVAL_MS = 250;
}  // namespace

VolumeCachePass::VolumeCachePass(std::shared_ptr<const seismic::SegyVolumeFile> file,
                                 QStringList folders, long long limit_bytes, QObject* parent)
    : QObject(parent),
      file_(std::move(file)),
      folders_(std::move(folders)),
      limit_bytes_(limit_bytes) {
    thread_.setMaxThreadCount(1);
    poll_.setInterval(PROGRESS_INTERVAL_MS);
    connect(&poll_, &QTimer::timeout, this, [this] {
        utils::call_guarded(QStringLiteral("Reporting the cache progress"),
                            [&] { emit sig_progress(shared_->fraction); });
    });
    connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, [this] {
        utils::call_guarded(QStringLiteral("Finishing the section cache"), [&] { finish(); });
    });
}

VolumeCachePass::~VolumeCachePass() {
    cancel();
    watcher_.waitForFinished();
}

std::shared_ptr<const seismic::SectionCache> VolumeCachePass::find(
    const seismic::SegyVolumeFile& file, const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = seismic::CacheFolder(folder).path_for(file);
        // Before it is mapped: a map whose file's time changes fails its reads.
        if (QFileInfo::exists(path)) seismic::CacheFolder::touch(path);
        if (auto cache = seismic::SectionCache::open(file, path)) return cache;
    }
    return nullptr;
}

bool VolumeCachePass::placed_anew(const seismic::SegyVolumeFile& file, const QStringList& folders) {
    return std::any_of(folders.begin(), folders.end(), [&file](const QString& folder) {
        return QFileInfo::exists(seismic::CacheFolder(folder).path_for(
            file, seismic::SegyVolumeFile::TracePlacing::every_trace));
    });
}

void VolumeCachePass::cancel() { shared_->cancelled = true; }

void VolumeCachePass::start() {
    poll_.start();
    watcher_.setFuture(QtConcurrent::run(
        &thread_, [file = file_, folders = folders_, limit = limit_bytes_, shared = shared_] {
            // The thread is the pass's own, so it is never given back.
            seismic::lower_calling_thread_priority();
            Outcome outcome;
            try {
                outcome = run(*file, folders, limit, *shared);
            } catch (const seismic::IrregularGeometryError& error) {
                outcome.irregular = true;
                outcome.error = QString::fromStdString(error.what());
            } catch (const std::exception& error) {
                outcome.error = QString::fromStdString(error.what());
            } catch (...) {
                outcome.error = QStringLiteral("unknown failure");
            }
            return outcome;
        }));
}

VolumeCachePass::Outcome VolumeCachePass::run(const seismic::SegyVolumeFile& file,
                                              const QStringList& folders, long long limit_bytes,
                                              Shared& shared) {
    const auto keep_waiting = [&shared] { return !shared.cancelled; };
    Outcome outcome;
    for (const QString& folder : folders) seismic::CacheFolder(folder).remove_orphans();
    if ((outcome.cache = find(file, folders))) return outcome;
    const auto writable = std::find_if(folders.begin(), folders.end(), [](const QString& folder) {
        return QDir().mkpath(folder) && QFileInfo(folder).isWritable();
    });
    if (writable == folders.end()) {
        outcome.error =
            _("no cache folder can be written (%1)").arg(folders.join(QStringLiteral(", ")));
        return outcome;
    }
    const seismic::CacheFolder caches(*writable);
    const QString path = caches.path_for(file);
    // Another process may be building this very cache: wait for it, then take its work.
    const seismic::CacheLock lock(path, keep_waiting);
    if (!lock.locked()) {
        // Only a wait the user cancelled ends without a word.
        if (!shared.cancelled)
            outcome.error = _("%1 cannot be locked").arg(seismic::CacheLock::path_for(path));
        return outcome;
    }
    if ((outcome.cache = seismic::SectionCache::open(file, path))) return outcome;
    seismic::CacheFolder::note_source(lock, file);
    try {
        outcome.cache = seismic::SectionCache::build(file, path, [&shared](double fraction) {
            shared.fraction = fraction;
            return !shared.cancelled;
        });
    } catch (...) {
        lock.remove_file();
        throw;
    }
    if (!outcome.cache) {
        lock.remove_file();
        return outcome;
    }
    outcome.built = true;
    caches.trim(limit_bytes);
    return outcome;
}

void VolumeCachePass::finish() {
    poll_.stop();
    const Outcome outcome = watcher_.result();
    if (outcome.irregular)
        emit sig_irregular(outcome.error);
    else if (!outcome.error.isEmpty())
        emit sig_failed(outcome.error);
    else if (!outcome.cache)
        emit sig_cancelled();
    else
        emit sig_ready(outcome.cache, outcome.built);
}

}  // namespace korvex::app::data
