#include "korvex/app/data/volume_cache_pass.h"

#include <QDir>
#include <QtConcurrent>

#include "korvex/seismic/background_priority.h"
#include "korvex/seismic/irregular_geometry_error.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

namespace {
constexpr int PROGRESS_INTERVAL_MS = 250;
}  // namespace

VolumeCachePass::VolumeCachePass(std::shared_ptr<const seismic::SegyVolumeFile> file,
                                 QStringList folders, QObject* parent)
    : QObject(parent), file_(std::move(file)), folders_(std::move(folders)) {
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

void VolumeCachePass::cancel() { shared_->cancelled = true; }

void VolumeCachePass::start() {
    poll_.start();
    watcher_.setFuture(QtConcurrent::run(&thread_, [file = file_, folders = folders_,
                                                    shared = shared_] {
        // The thread is the pass's own, so it is never given back.
        seismic::lower_calling_thread_priority();
        Outcome outcome;
        try {
            for (const QString& folder : folders) {
                const QString path = seismic::SectionCache::path_for(*file, folder);
                if (auto cache = seismic::SectionCache::open(*file, path)) {
                    outcome.cache = std::move(cache);
                    return outcome;
                }
            }
            QDir().mkpath(folders.value(0));
            const QString path = seismic::SectionCache::path_for(*file, folders.value(0));
            outcome.cache = seismic::SectionCache::build(*file, path, [&shared](double fraction) {
                shared->fraction = fraction;
                return !shared->cancelled;
            });
            outcome.built = true;
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
