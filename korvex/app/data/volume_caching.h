#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/live_area.h"

class QMainWindow;

namespace korvex::seismic {
class SectionCache;
class SegyVolumeFile;
}  // namespace korvex::seismic

namespace korvex::app::data {

class CacheStore;
class SeismicVolume;
class VolumeCacheRun;
class VolumeSections;

// When a volume's section cache is built, and where. The pass reads the whole file, so it
// waits until the first picture is complete rather than compete with the sections still
// on their way; a cache found while the file opened needs none. A cache that fails a read
// is removed and built again. A ready cache serves the sections at once.
//
// A pass that finds a trace out of the place the opening's sample inferred opens the file
// again on a worker, placing every trace, hands it over (sig_replaced), says in the log
// what changed, and builds the cache for it. Only a file that no grid holds (two traces at
// one position) has its sections withdrawn.
class KORVEX_DATA_EXPORT VolumeCaching final : public QObject {
    Q_OBJECT

public:
    VolumeCaching(SeismicVolume& volume, std::shared_ptr<const seismic::SegyVolumeFile> file,
                  VolumeSections& sections);

    // Where caches are kept; without a store, in the user's cache folder.
    void set_store(CacheStore* store);
    // The window whose status bar shows the pass; none in scripted runs.
    void set_progress_host(QMainWindow* host);

signals:
    // The cache now serves the sections; its figures cover every sample.
    void sig_ready(std::shared_ptr<const seismic::SectionCache> cache);
    // The pass ended: the cache is in use, or `message` tells why not.
    void sig_ended(bool cached, const QString& message);
    // The file opened again with every trace placed, and the live area of its grid.
    void sig_replaced(std::shared_ptr<const seismic::SegyVolumeFile> file,
                      const LiveArea& live_area);

private:
    struct Placed;

    void first_picture_complete();
    void start();
    void place_every_trace();
    void take(const Placed& placed);
    void rebuild(const std::shared_ptr<const seismic::SectionCache>& cache, const QString& message);

    SeismicVolume& volume_;
    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    VolumeSections& sections_;
    VolumeCacheRun* run_ = nullptr;
    bool due_ = true;
    QPointer<CacheStore> store_;
    QPointer<QMainWindow> progress_host_;
};

}  // namespace korvex::app::data
