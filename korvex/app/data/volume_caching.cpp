#include "korvex/app/data/volume_caching.h"

#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMainWindow>
#include <QtConcurrent>
#include <utility>

#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/status_progress.h"
#include "korvex/app/data/volume_cache_run.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/config/base.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {

// What placing every trace changed, in one line: the holes the sample missed, and the grid
// when lines it missed widened it.
QString placing_change(const seismic::SegyVolumeFile& before,
                       const seismic::SegyVolumeFile& after) {
    const seismic::SegyGeometry& was = before.geometry();
    const seismic::SegyGeometry& is = after.geometry();
    const long long holes = is.hole_count - was.hole_count;
    QString found = holes > 0 ? _("the full check found %1 positions without a trace").arg(holes)
                              : _("the full check found traces out of the order the opening "
                                  "sampled");
    if (is.ilines.size() != was.ilines.size() || is.xlines.size() != was.xlines.size())
        found += _(", on a grid of %1 inlines x %2 crosslines")
                     .arg(is.iline_count())
                     .arg(is.xline_count());
    return _("%1: %2; the picture now shows %3")
        .arg(QFileInfo(after.path()).fileName(), found,
             holes > 0 ? _("them") : _("each trace at its line numbers"));
}

}  // namespace

VolumeCaching::VolumeCaching(SeismicVolume& volume,
                             std::shared_ptr<const seismic::SegyVolumeFile> file,
                             VolumeSections& sections)
    : QObject(&volume), volume_(volume), file_(std::move(file)), sections_(sections) {
    connect(&sections_, &VolumeSections::sig_complete, this,
            &VolumeCaching::first_picture_complete);
    connect(&sections_, &VolumeSections::sig_cache_failed, this, &VolumeCaching::rebuild);
}

void VolumeCaching::set_store(CacheStore* store) { store_ = store; }

void VolumeCaching::set_progress_host(QMainWindow* host) { progress_host_ = host; }

void VolumeCaching::first_picture_complete() {
    if (!due_) return;
    due_ = false;
    if (sections_.has_cache())
        emit sig_ended(true, {});
    else
        start();
}

void VolumeCaching::start() {
    const CacheStore fallback(seismic::SectionCache::default_folder());
    const CacheStore& store = store_ ? *store_ : fallback;
    if (!store.builds()) return;
    run_ = new VolumeCacheRun(file_, volume_.name(), store.folders(), store.limit_bytes(),
                              progress_host_, this);
    connect(run_, &VolumeCacheRun::sig_ready, this,
            [this](std::shared_ptr<const seismic::SectionCache> cache) {
                sections_.use_cache(cache);
                emit sig_ready(std::move(cache));
            });
    connect(run_, &VolumeCacheRun::sig_irregular, this, &VolumeCaching::place_every_trace);
    connect(run_, &VolumeCacheRun::sig_ended, this, &VolumeCaching::sig_ended);
}

struct VolumeCaching::Placed {
    std::shared_ptr<const seismic::SegyVolumeFile> file;
    LiveArea live_area;
    QString error;
};

void VolumeCaching::place_every_trace() {
    QPointer<StatusProgress> placing = StatusProgress::add_waiting(
        progress_host_, _("Placing every trace of %1").arg(volume_.name()));
    // Owned by us: a volume closed meanwhile drops the result unseen.
    auto* watcher = new QFutureWatcher<Placed>(this);
    connect(watcher, &QFutureWatcher<Placed>::finished, this, [this, watcher, placing] {
        watcher->deleteLater();
        delete placing;
        utils::call_guarded(_("Placing every trace of %1").arg(volume_.name()),
                            [&] { take(watcher->result()); });
    });
    watcher->setFuture(QtConcurrent::run([path = file_->path(), bytes = file_->header_bytes()] {
        Placed placed;
        try {
            placed.file = std::make_shared<const seismic::SegyVolumeFile>(
                path, bytes, seismic::SegyVolumeFile::TracePlacing::every_trace);
            placed.live_area = LiveArea::of(placed.file->geometry());
        } catch (const std::exception& error) {
            placed.error = QString::fromStdString(error.what());
        }
        return placed;
    }));
}

void VolumeCaching::take(const Placed& placed) {
    if (!placed.file) {
        sections_.withdraw(placed.error);
        emit sig_ended(false, placed.error);
        return;
    }
    const auto before = std::exchange(file_, placed.file);
    emit sig_replaced(file_, placed.live_area);
    const QString change = placing_change(*before, *file_);
    utils::logger().warning(change);
    StatusProgress::tell(progress_host_, change);
    delete run_;
    start();
}

void VolumeCaching::rebuild(const std::shared_ptr<const seismic::SectionCache>& cache,
                            const QString& message) {
    utils::logger().warning(utils::format(
        "{}: the section cache failed a read and is built again; until then time slices are "
        "read from the file: {}",
        volume_.name(), message));
    // Reads still in flight keep their mapping of it; the pass must not find it again.
    QFile::remove(cache->path());
    delete run_;
    due_ = false;
    start();
}

}  // namespace korvex::app::data
