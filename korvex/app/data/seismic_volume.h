#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/styled_object.h"
#include "korvex/app/data/survey_frame.h"
#include "korvex/app/data/volume_style.h"
#include "korvex/host/persistent_object.h"
#include "korvex/scene/placement.h"
#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/survey_geometry.h"
#include "korvex/seismic/survey_transform.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

class QMainWindow;

namespace korvex::seismic {
class SectionCache;
}

namespace korvex::app::data {

class CacheStore;
class OpenSurveys;
class SectionReader;
class StatusProgress;
class VolumeCacheRun;
class VolumeSectionVisual;

// A post-stack seismic volume read from a SEG-Y file, drawn as its survey box and as
// inline, crossline and depth sections. Each section type has one current position,
// shared by every viewer: moving it reads the section once and updates every viewer's
// image in place. Colours never cause a read.
//
// Nothing that grows with the file runs on the GUI thread: opening, section reads and the
// cache pass run on worker threads. A section appears, or moves, when its data arrives;
// of requests made meanwhile only the newest is served. Once the first section is drawn,
// the section cache is built (or reused) in the background, with its progress in the
// status bar and the log; it checks every trace, and a volume found irregular has its
// sections withdrawn with the reason, rather than drawn with traces out of place.
class KORVEX_DATA_EXPORT SeismicVolume final : public StyledObject, public host::PersistentObject {
    Q_OBJECT

public:
    static constexpr const char* TYPE = "seismic_volume";

    // A volume as a project saved it: the file, with the header bytes, section positions
    // and colours of settings(). Positions snap to the nearest line or sample; a value
    // that cannot be applied is logged and skipped. Header bytes missing or outside the
    // trace header throw utils::ValueError: the volume cannot be read without them.
    static std::unique_ptr<SeismicVolume> load(const QString& path, const QVariantMap& settings);
    // As load(), the file opened on a worker thread; `done` gets the volume, or nullptr and
    // why not, on `context`'s thread, and is never called once `context` is destroyed.
    using Loaded = std::function<void(std::unique_ptr<SeismicVolume> volume, const QString& error)>;
    static void load_async(const QString& path, const QVariantMap& settings, QObject* context,
                           Loaded done);
    // The settings that choose the header bytes of the line numbers, for load().
    static QVariantMap header_settings(const seismic::SegyHeaderBytes& bytes);

    // Opens the file and takes amplitude statistics from it, on a worker thread while the
    // event loop goes on: for tests and for a project's restore, which cannot go on
    // without the volume; the File menu and the command line use load_async(). Throws
    // utils::ValueError naming the file and what is wrong with it.
    explicit SeismicVolume(const QString& path, seismic::SegyHeaderBytes bytes = {},
                           QObject* parent = nullptr);
    ~SeismicVolume() override;

    QString name() const override;
    QVariantMap prop() const override;
    bool viewable_in_volume() const override { return true; }
    void make_visuals_in_volume(const QString& parent) override;
    // The samples are read in milliseconds: the "depth" sections are time slices.
    const seismic::SegyVolumeFile& file() const { return *file_; }
    QString section_label(const QString& section_type) const override;
    // Unknown section types throw utils::LookupError.
    void make_image_3d(const QString& section_type, const QString& parent) override;

    QString type_name() const override { return TYPE; }
    QString source_path() const override;
    QVariantMap settings() const override;

    const SurveyFrame& frame() const { return frame_; }
    // From evenly spread traces at opening, then from every sample once the cache pass has
    // seen them (sig_stats_changed tells it).
    const seismic::AmplitudeStats& stats() const { return stats_; }
    // Inline/crossline to map X/Y, fitted over the traces' CDP coordinates; none when the
    // headers hold none.
    const std::optional<seismic::SurveyTransform>& survey() const { return survey_; }
    // Where the survey lies on the map (a unit grid when the headers hold no coordinates).
    const seismic::SurveyGeometry& geometry() const { return geometry_; }
    // The volume's own coordinates (inline, crossline, -time) in the scene: on the map,
    // about the window's local origin (OpenSurveys::take_origin), or about the survey's
    // own centre for a volume outside any window; a survey without coordinates about the
    // map's origin unless a survey on the map took one.
    scene::Placement placement() const;

    // The line or sample index of the section of `kind` (the middle until moved).
    int section_index(seismic::SectionKind kind) const;
    // Asks for the section at `index`, which is shown in every viewer when read (then
    // sig_section_moved). An index out of range throws utils::LookupError, a withdrawn volume
    // utils::ValueError; on a read error the section stays where it was drawn, the error is
    // logged and sig_section_failed tells it.
    void set_section_index(seismic::SectionKind kind, int index);
    // Whether a section read is in flight or waiting: a picture taken now may miss data.
    bool sections_pending() const;
    // Whether every section asked for is drawn where it was asked for.
    bool sections_drawn() const;
    // Why the volume's sections were withdrawn; empty while they are trusted.
    const QString& withdrawn() const { return withdrawn_; }
    // Where the volume's section cache is kept; without a store, in the user's cache folder.
    void set_cache_store(CacheStore* store);

    // The look, as VolumeStyle checks it; each change is drawn in every viewer.
    QString colormap() const { return style_.colormap(); }
    void set_colormap(const QString& name);
    double clip() const { return style_.clip(); }
    void set_clip(double clip);
    double opacity() const { return style_.opacity(); }
    void set_opacity(double opacity);

    struct Pick {
        SurveyFrame::Sample sample;
        float amplitude = 0.0f;
    };
    // The sample of the section of `kind` nearest to a world point on it.
    Pick pick(seismic::SectionKind kind, const std::array<double, 3>& world) const;
    // The sample nearest to an inline, crossline and time, read from the file (one trace);
    // none when the place lies outside the volume.
    std::optional<Pick> sample_at(double iline, double xline, double time) const;
    // A pick as the viewers and the Picks dock keep it.
    widgets::PickedSample picked_sample(const Pick& pick) const;
    // The window whose status bar shows the volume's long work; none in scripted runs.
    void set_progress_host(QMainWindow* host);
    // Registers the volume, and its survey if it has one, with the window's open surveys
    // until it closes. Once only.
    void set_open_surveys(OpenSurveys* surveys);

signals:
    void sig_section_moved(seismic::SectionKind kind, int index);
    void sig_section_failed(seismic::SectionKind kind, const QString& message);
    // No section read is in flight any more.
    void sig_sections_settled();
    // The background pass ended: the cache is in use, or `message` tells why not.
    void sig_cache_pass_ended(bool cached, const QString& message);
    void sig_withdrawn(const QString& message);
    // The amplitude figures now cover every sample (and the clip, if it was theirs).
    void sig_stats_changed();

private:
    struct Opened {
        std::shared_ptr<const seismic::SegyVolumeFile> file;
        seismic::AmplitudeStats stats;
        std::optional<seismic::SurveyTransform> survey;
        // Sound and found at opening: time slices come from it from the first picture on.
        std::shared_ptr<const seismic::SectionCache> cache;
    };
    struct SectionState {
        int index = 0;           // as last asked for
        int drawn = -1;          // the index of `image`; -1 until the first read arrives
        seismic::Section image;  // as drawn: a row per sample (a row per crossline for depth)
    };

    // The part of opening that grows with the file: safe on any thread.
    static Opened open_file(const QString& path, seismic::SegyHeaderBytes bytes,
                            const QStringList& cache_folders);
    static Opened open(const QString& path, seismic::SegyHeaderBytes bytes);
    SeismicVolume(Opened opened, QObject* parent);
    SectionState& section(seismic::SectionKind kind);
    void request(seismic::SectionKind kind, int index);
    seismic::Section blank_image(seismic::SectionKind kind) const;
    void draw(seismic::SectionKind kind, int index, const seismic::Section& image);
    void fail_read(seismic::SectionKind kind, const QString& message);
    void start_cache_pass();
    void rebuild_cache(const std::shared_ptr<const seismic::SectionCache>& cache,
                       const QString& message);
    void take_stats(const seismic::AmplitudeStats& stats);
    void show_style();
    void withdraw(const QString& message);
    std::vector<std::shared_ptr<VolumeSectionVisual>> section_visuals(
        seismic::SectionKind kind) const;
    std::vector<std::shared_ptr<VolumeSectionVisual>> all_section_visuals() const;

    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    SurveyFrame frame_;
    SectionReader* reader_;
    VolumeCacheRun* cache_run_ = nullptr;
    // Until the first picture is complete; a cache found at opening needs no pass.
    bool cache_pass_due_ = true;
    // Shown while a time slice is gathered from a file not in memory, which takes as long
    // as reading the whole file.
    QPointer<StatusProgress> gathering_;
    QPointer<QMainWindow> progress_host_;
    QPointer<OpenSurveys> open_surveys_;
    QPointer<CacheStore> cache_store_;
    QString withdrawn_;
    seismic::AmplitudeStats stats_;
    std::optional<seismic::SurveyTransform> survey_;
    seismic::SurveyGeometry geometry_;
    std::array<double, 2> origin_;
    std::map<seismic::SectionKind, SectionState> sections_;
    VolumeStyle style_;
};

}  // namespace korvex::app::data
