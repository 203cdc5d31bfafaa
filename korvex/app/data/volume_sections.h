#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/survey_frame.h"
#include "korvex/seismic/section.h"

class QMainWindow;

namespace korvex::seismic {
class SectionCache;
class SegyVolumeFile;
}  // namespace korvex::seismic

namespace korvex::app::data {

class SectionReader;
class SeismicVolume;
class StatusProgress;
class VolumeSectionVisual;

// The inline, crossline and time sections of a volume: one current position per kind,
// shared by every viewer. Moving one reads it once, on a worker, and updates every
// viewer's image in place when it arrives; of the moves made meanwhile only the newest
// is read. A volume that no grid holds has its sections withdrawn for good, with the reason.
class KORVEX_DATA_EXPORT VolumeSections final : public QObject {
    Q_OBJECT

public:
    // The section as drawn: a row per sample (a row per crossline for depth).
    struct Drawn {
        int index = 0;
        const seismic::Section& image;
    };

    // A cache found while the file opened serves the time slices from the first picture on.
    VolumeSections(SeismicVolume& volume, std::shared_ptr<const seismic::SegyVolumeFile> file,
                   const SurveyFrame& frame, std::shared_ptr<const seismic::SectionCache> cache);
    ~VolumeSections() override;

    // The line or sample index of `kind` as last asked for (the middle until moved).
    int index(seismic::SectionKind kind) const;
    // An index out of range throws utils::LookupError, a withdrawn volume utils::ValueError.
    void set_index(seismic::SectionKind kind, int index);
    // Whether a read is in flight or waiting: a picture taken now may miss data.
    bool pending() const;
    // Whether every section asked for is drawn where it was asked for.
    bool drawn() const;
    // The section of `kind` as drawn; none before its first read arrived.
    std::optional<Drawn> drawn(seismic::SectionKind kind) const;
    const QString& withdrawn() const { return withdrawn_; }

    // A new visual of `kind` for one viewer, showing the section as drawn, or until then an
    // invisible plane of the right size, so that the view can be framed around it.
    std::shared_ptr<VolumeSectionVisual> make_visual(seismic::SectionKind kind,
                                                     const QString& colormap, double clip);
    // The visuals of every kind in every viewer.
    std::vector<std::shared_ptr<VolumeSectionVisual>> visuals() const;

    // A reader of the volume's sections for a view with a line of its own (a section
    // view): the same file, and the section cache now and once one is built.
    SectionReader* make_reader(QObject* parent);

    // Time slices come from the cache from now on, instead of a gather over every trace.
    void use_cache(std::shared_ptr<const seismic::SectionCache> cache);
    bool has_cache() const;
    // Reads `file`, its traces placed anew on the volume's frame, from now on (in the section
    // views' readers too): each section is read again at the line or time it showed on
    // `before`, the frame its indices were on, and a time slice outlines the new live area.
    void take_file(std::shared_ptr<const seismic::SegyVolumeFile> file, const SurveyFrame& before);
    // Hides the sections in every viewer, refuses further moves, and tells why.
    void withdraw(const QString& reason);
    // The window whose status bar shows a slow time slice; none in scripted runs.
    void set_progress_host(QMainWindow* host);

signals:
    void sig_section_moved(seismic::SectionKind kind, int index);
    void sig_section_failed(seismic::SectionKind kind, const QString& message);
    // Every section asked for has arrived: the picture is complete.
    void sig_complete();
    // No read is in flight any more.
    void sig_settled();
    void sig_withdrawn(const QString& message);
    // The cache failed a read: that read and those after it come from the file.
    void sig_cache_failed(std::shared_ptr<const seismic::SectionCache> cache,
                          const QString& message);

private:
    struct State {
        int index = 0;           // as last asked for
        int drawn = -1;          // the index of `image`; -1 until the first read arrives
        seismic::Section image;  // as drawn
    };

    State& state(seismic::SectionKind kind);
    void request(seismic::SectionKind kind, int index);
    seismic::Section blank_image(seismic::SectionKind kind) const;
    void draw(seismic::SectionKind kind, int index, const seismic::Section& image);
    void fail_read(seismic::SectionKind kind, const QString& message);
    // Every reader leaves a cache that failed one of them; the failure is told once.
    void give_up_cache(const std::shared_ptr<const seismic::SectionCache>& cache,
                       const QString& message);
    std::vector<std::shared_ptr<VolumeSectionVisual>> visuals(seismic::SectionKind kind) const;

    SeismicVolume& volume_;
    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    const SurveyFrame& frame_;
    SectionReader* reader_;
    std::vector<QPointer<SectionReader>> view_readers_;
    const seismic::SectionCache* given_up_ = nullptr;
    std::map<seismic::SectionKind, State> states_;
    QString withdrawn_;
    // Shown while a time slice is gathered from a file not in memory, which takes as long
    // as reading the whole file.
    QPointer<StatusProgress> gathering_;
    QPointer<QMainWindow> progress_host_;
};

}  // namespace korvex::app::data
