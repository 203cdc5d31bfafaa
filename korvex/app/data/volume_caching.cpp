#include "korvex/app/data/volume_caching.h"

#include <QFile>
#include <QMainWindow>

#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/volume_cache_run.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

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
    connect(run_, &VolumeCacheRun::sig_irregular, &sections_, &VolumeSections::withdraw);
    connect(run_, &VolumeCacheRun::sig_ended, this, &VolumeCaching::sig_ended);
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
