#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <memory>

#include "korvex/app/data/data_export.h"

namespace korvex::seismic {
class SectionCache;
class SegyVolumeFile;
}  // namespace korvex::seismic

namespace korvex::app::data {

// The long work on a volume once its first picture is up, on a worker thread: reuses its
// section cache from the first of `folders` that holds a sound one, or builds it in the
// first folder that can be written in one sequential pass over the file, which also checks
// the line numbers of every trace against the survey grid. A pass on the same file in
// another process is waited for, and its cache reused. On the way, caches whose SEG-Y file
// is gone are removed, and after a build the least recently used ones beyond `limit_bytes`.
// Progress is reported while it runs and it can be cancelled; it is cancelled with its owner. The
// pass has a thread of its own at a lower priority, so that frames and the sections a user pages
// through are not slowed by it.
class KORVEX_DATA_EXPORT VolumeCachePass final : public QObject {
    Q_OBJECT

public:
    VolumeCachePass(std::shared_ptr<const seismic::SegyVolumeFile> file, QStringList folders,
                    long long limit_bytes, QObject* parent = nullptr);
    // Cancels the pass and waits for the worker to notice, which takes at most one slab.
    ~VolumeCachePass() override;

    // The sound cache of `file` in the first of `folders` that holds one; nullptr when none
    // does. Reads a few small parts of the file: safe on any thread.
    static std::shared_ptr<const seismic::SectionCache> find(const seismic::SegyVolumeFile& file,
                                                             const QStringList& folders);
    // Whether one of `folders` holds a cache of `file` with every trace placed: a pass before
    // found traces out of the place its sampled opening gives them.
    static bool placed_anew(const seismic::SegyVolumeFile& file, const QStringList& folders);

    void start();
    void cancel();
    bool running() const { return watcher_.isRunning(); }

signals:
    // The fraction done (0..1), a few times a second while the cache is built.
    void sig_progress(double fraction);
    void sig_ready(std::shared_ptr<const seismic::SectionCache> cache, bool built);
    // A trace out of place: the message names the file, the trace and its line numbers.
    void sig_irregular(const QString& message);
    void sig_failed(const QString& message);
    void sig_cancelled();

private:
    struct Shared {
        std::atomic<double> fraction{0.0};
        std::atomic<bool> cancelled{false};
    };
    struct Outcome {
        std::shared_ptr<const seismic::SectionCache> cache;
        bool built = false;
        bool irregular = false;
        QString error;
    };

    void finish();
    static Outcome run(const seismic::SegyVolumeFile& file, const QStringList& folders,
                       long long limit_bytes, Shared& shared);

    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    QStringList folders_;
    long long limit_bytes_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    QThreadPool thread_;
    QFutureWatcher<Outcome> watcher_;
    QTimer poll_;
};

}  // namespace korvex::app::data
