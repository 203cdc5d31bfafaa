#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "korvex/app/data/data_export.h"

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
// is removed and built again. A ready cache serves the sections at once; a pass that finds
// a trace out of place withdraws them.
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

private:
    void first_picture_complete();
    void start();
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
