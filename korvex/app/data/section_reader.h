#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section.h"

namespace korvex::seismic {
class SectionCache;
class SegyVolumeFile;
}  // namespace korvex::seismic

namespace korvex::app::data {

// Reads a volume's sections on worker threads, as drawn: a row per sample (a row per
// crossline for depth). One read per section type is in flight at a time; requests made
// meanwhile replace each other, and a read that a newer request has overtaken is dropped
// instead of delivered. So a dragged slider or a held Page Down costs one read at a time,
// and only the section last asked for is drawn.
//
// Time slices come from the section cache once one is given: the file has them only as
// a gather over every trace. A cache that fails a read (damaged, truncated) is given up
// at once: that read and the ones after it go to the file, and sig_cache_failed tells.
class KORVEX_DATA_EXPORT SectionReader final : public QObject {
    Q_OBJECT

public:
    explicit SectionReader(std::shared_ptr<const seismic::SegyVolumeFile> file,
                           QObject* parent = nullptr);
    ~SectionReader() override;

    void use_cache(std::shared_ptr<const seismic::SectionCache> cache);
    // Reads `file` from now on, its traces placed anew, and without the cache, which was
    // made for the old grid. A read in flight is dropped once a request overtakes it.
    void use_file(std::shared_ptr<const seismic::SegyVolumeFile> file);
    bool has_cache() const { return cache_ != nullptr; }
    const std::shared_ptr<const seismic::SectionCache>& cache() const { return cache_; }
    // Asks for the section of `kind` at `index`; it arrives through sig_section_read or
    // sig_read_failed, unless a newer request overtakes it.
    void request(seismic::SectionKind kind, int index);
    // Whether a read is in flight or waiting.
    bool busy() const;

signals:
    void sig_section_read(seismic::SectionKind kind, int index, const seismic::Section& image);
    void sig_read_failed(seismic::SectionKind kind, int index, const QString& message);
    // Emitted when the last read in flight has been delivered or dropped.
    void sig_idle();
    // `cache` failed a read and is no longer used; time slices come from the file.
    void sig_cache_failed(std::shared_ptr<const seismic::SectionCache> cache,
                          const QString& message);

private:
    struct Result {
        int index = 0;
        // Shared: the watcher hands its result out by copy, on the GUI thread.
        std::shared_ptr<const seismic::Section> image;
        QString error;
        std::shared_ptr<const seismic::SectionCache> failed_cache;
        QString cache_error;
    };
    struct Slot {
        std::optional<int> wanted;
        QFutureWatcher<Result>* running = nullptr;
    };

    void start(seismic::SectionKind kind);
    void finish(seismic::SectionKind kind);

    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    std::shared_ptr<const seismic::SectionCache> cache_;
    std::map<seismic::SectionKind, Slot> slots_;
};

}  // namespace korvex::app::data
