#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QMainWindow;

namespace korvex::seismic {
class SectionCache;
class SegyVolumeFile;
}  // namespace korvex::seismic

namespace korvex::app::data {

class StatusProgress;
class VolumeCachePass;

// A volume's cache pass as the user follows it: a bar with Cancel in the status bar once
// the pass really builds, a journal line at each quarter, and one line for how it ended.
// The pass stops with its owner.
class VolumeCacheRun final : public QObject {
    Q_OBJECT

public:
    // `name` is the volume's, as the journal and the status bar call it; the bar shows in
    // `host`'s status bar, none without a host.
    VolumeCacheRun(std::shared_ptr<const seismic::SegyVolumeFile> file, const QString& name,
                   const QStringList& folders, long long limit_bytes, QMainWindow* host,
                   QObject* parent);
    ~VolumeCacheRun() override;

signals:
    // The cache is sound and checked; sig_ended(true) follows.
    void sig_ready(std::shared_ptr<const seismic::SectionCache> cache);
    // A trace out of place: the pass is over without a cache, and it is for the owner to say
    // what follows.
    void sig_irregular(const QString& message);
    // The pass is over: the cache is in use, or `message` tells why not.
    void sig_ended(bool cached, const QString& message);

private:
    void show_progress(double fraction);
    void end(bool cached, const QString& message);

    QString name_;
    QPointer<QMainWindow> host_;
    VolumeCachePass* pass_;
    QPointer<StatusProgress> progress_;
    // Without a main window there is no progress bar: the journal hears of the pass once.
    bool announced_ = false;
    int logged_step_ = 0;
};

}  // namespace korvex::app::data
