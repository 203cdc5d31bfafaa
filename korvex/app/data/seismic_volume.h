#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/live_area.h"
#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/styled_object.h"
#include "korvex/app/data/survey_frame.h"
#include "korvex/app/data/volume_picker.h"
#include "korvex/app/data/volume_style.h"
#include "korvex/host/persistent_object.h"
#include "korvex/scene/placement.h"
#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/live_outline.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/survey_geometry.h"
#include "korvex/seismic/survey_grid.h"
#include "korvex/seismic/survey_transform.h"

class QMainWindow;

namespace korvex::seismic {
class SectionCache;
}

namespace korvex::app::data {

class CacheStore;
class OpenSurveys;
class VolumeCaching;
class VolumeSections;

// A post-stack seismic volume read from a SEG-Y file, drawn as its survey box and as
// inline, crossline and depth sections (VolumeSections). Colours never cause a read.
//
// Nothing that grows with the file runs on the GUI thread: opening, section reads and the
// cache pass run on worker threads. Once the first picture is complete, the section cache
// is built (or reused) in the background (VolumeCaching), with its progress in the status
// bar and the log; it checks every trace. Traces out of the place the opening's sample
// inferred are placed anew, each where its line numbers say (sig_geometry_changed), rather
// than drawn out of place; only a file that no grid holds has its sections withdrawn.
class KORVEX_DATA_EXPORT SeismicVolume final : public StyledObject, public host::PersistentObject {
    Q_OBJECT

public:
    static constexpr const char* TYPE = "seismic_volume";

    // Opens a volume as a project saved it, on a worker thread: the file, with the header
    // bytes, section positions and colours of settings(). Positions snap to the nearest
    // line or sample; a value that cannot be applied is logged and skipped. Header bytes
    // missing or outside the trace header are refused: the volume cannot be read without
    // them. `done` gets the volume, or nullptr and why not, on `context`'s thread, and is
    // never called once `context` is destroyed.
    using Loaded = std::function<void(std::unique_ptr<SeismicVolume> volume, const QString& error)>;
    static void load_async(const QString& path, const QVariantMap& settings, QObject* context,
                           Loaded done);
    // The settings that choose the header bytes of the line numbers, for load_async().
    static QVariantMap header_settings(const seismic::SegyHeaderBytes& bytes);

    ~SeismicVolume() override;

    QString name() const override;
    QVariantMap prop() const override;
    bool viewable_in_volume() const override { return true; }
    void make_visuals_in_volume(const QString& parent) override;
    // The samples are read in milliseconds: the "depth" sections are time slices.
    const seismic::SegyVolumeFile& file() const { return *file_; }
    // For reads on a worker, which keep the file open until they end.
    std::shared_ptr<const seismic::SegyVolumeFile> shared_file() const { return file_; }
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
    // headers hold none or they lie more than half a bin off the fitted grid.
    const std::optional<seismic::SurveyTransform>& survey() const { return survey_; }
    // Where the survey lies on the map: fitted, set by the user, or a unit grid.
    const seismic::SurveyGeometry& geometry() const { return geometry_; }
    // Why the headers cannot place the survey ("CDP coordinates are all zero", or how far
    // off a grid they lie); empty when their coordinates place it.
    const QString& map_note() const { return map_note_; }
    // The boundary of the positions that hold a trace, found while the file opened.
    const std::vector<seismic::OutlineSegment>& live_area() const { return live_area_.outline; }
    // The map's fill of them (LiveArea::fill), shared by every map view.
    const QImage& live_fill() const { return live_area_.fill; }
    // Lays a survey whose headers cannot place it on `grid` (none: back to one map unit per
    // line number) in every viewer, then sig_placed; the project keeps it. A survey placed
    // by its coordinates, or a bad grid, throws utils::ValueError and nothing changes.
    void set_grid(const std::optional<seismic::SurveyGrid>& grid);
    std::optional<seismic::SurveyGrid> grid() const { return grid_; }
    // The volume's own coordinates (inline, crossline, -time) in the scene: on the map,
    // about the window's local origin (OpenSurveys::take_origin), or about the survey's
    // own centre for a volume outside any window; a survey without coordinates about the
    // map's origin unless a survey on the map took one.
    scene::Placement placement() const;

    // Asking for a section shows it in every viewer when read (then sig_section_moved); on a
    // read error the section stays where it was drawn, the error is logged and
    // sig_section_failed tells it. The ask itself is told at once (sig_section_asked).
    VolumeSections& sections() { return *sections_; }
    const VolumeSections& sections() const { return *sections_; }
    int section_index(seismic::SectionKind kind) const;
    void set_section_index(seismic::SectionKind kind, int index);
    bool sections_pending() const;
    bool sections_drawn() const;
    // Why the volume's sections were withdrawn; empty while they are trusted.
    const QString& withdrawn() const;
    const VolumePicker& picker() const { return picker_; }
    // Where the volume's section cache is kept; without a store, in the user's cache folder.
    void set_cache_store(CacheStore* store);

    // The look, as VolumeStyle checks it; each change is drawn in every viewer.
    QString colormap() const { return style_.colormap(); }
    void set_colormap(const QString& name);
    double clip() const { return style_.clip(); }
    // The user's clip: it stays when the figures of every sample arrive.
    void set_clip(double clip);
    // The clip a project kept; it stays as well.
    void restore_clip(double clip);
    double opacity() const { return style_.opacity(); }
    void set_opacity(double opacity);

    // The window whose status bar shows the volume's long work; none in scripted runs.
    void set_progress_host(QMainWindow* host);
    // Registers the volume, and its survey if it has one, with the window's open surveys
    // until it closes. Once only.
    void set_open_surveys(OpenSurveys* surveys);

signals:
    // A section was asked for elsewhere; it is drawn when read.
    void sig_section_asked(seismic::SectionKind kind, int index);
    void sig_section_moved(seismic::SectionKind kind, int index);
    void sig_section_failed(seismic::SectionKind kind, const QString& message);
    // No section read is in flight any more.
    void sig_sections_settled();
    // The background pass ended: the cache is in use, or `message` tells why not.
    void sig_cache_pass_ended(bool cached, const QString& message);
    void sig_withdrawn(const QString& message);
    // The amplitude figures now cover every sample (and the clip, if it was theirs).
    void sig_stats_changed();
    // The survey moved on the map: its grid was set or undone.
    void sig_placed();
    // The full check placed the traces anew: the grid, the sections, the live area and the
    // trace count are new; section positions, picks, looks and cameras stay. `before` is the
    // frame whose indices were used so far.
    void sig_geometry_changed(const SurveyFrame& before);

private:
    struct Opened {
        std::shared_ptr<const seismic::SegyVolumeFile> file;
        seismic::AmplitudeStats stats;
        std::optional<seismic::SurveyTransform> survey;
        // Sound and found at opening: time slices come from it from the first picture on.
        std::shared_ptr<const seismic::SectionCache> cache;
        QString map_note;
        LiveArea live_area;
    };

    // The part of opening that grows with the file: safe on any thread.
    static Opened open_file(const QString& path, seismic::SegyHeaderBytes bytes,
                            const QStringList& cache_folders);
    // Opens with the header bytes the settings give; when the file no longer opens with
    // those saved, with the bytes its headers show now, told in the log.
    static Opened open_saved_file(const QString& path, const QVariantMap& settings,
                                  const QStringList& cache_folders);
    SeismicVolume(Opened opened, QObject* parent);
    void take_stats(const seismic::AmplitudeStats& stats);
    void take_placed(std::shared_ptr<const seismic::SegyVolumeFile> file,
                     const LiveArea& live_area);
    void take_clip(double clip, VolumeStyle::ClipSource source);
    void show_style();
    // As point files and the status bar see the survey; none off the map.
    std::optional<LoadedSurvey> loaded_survey() const;

    std::shared_ptr<const seismic::SegyVolumeFile> file_;
    SurveyFrame frame_;
    seismic::AmplitudeStats stats_;
    std::optional<seismic::SurveyTransform> survey_;
    seismic::SurveyGeometry geometry_;
    std::array<double, 2> origin_;
    QString map_note_;
    LiveArea live_area_;
    // Set by the user where the headers give no grid to fit.
    std::optional<seismic::SurveyGrid> grid_;
    VolumeSections* sections_;
    VolumePicker picker_;
    VolumeCaching* caching_;
    QPointer<OpenSurveys> open_surveys_;
    VolumeStyle style_;
};

}  // namespace korvex::app::data
