#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <array>
#include <map>
#include <memory>

#include "korvex/app/data/survey_frame.h"
#include "korvex/host/data_object.h"
#include "korvex/host/persistent_object.h"
#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/segy_volume_file.h"

namespace korvex::app::data {

class VolumeSectionVisual;

// A post-stack seismic volume read from a SEG-Y file, drawn as its survey box and as
// inline, crossline and depth sections. Each section type has one current position,
// shared by every viewer: moving it reads the section once and updates every viewer's
// image in place. Colours never cause a read.
class SeismicVolume final : public QObject,
                            public host::DataObject,
                            public host::PersistentObject {
    Q_OBJECT

public:
    static constexpr const char* TYPE = "seismic_volume";

    // A volume as a project saved it: the file, with the header bytes, section positions
    // and colours of settings(). Positions snap to the nearest line or sample; a value
    // that cannot be applied is logged and skipped. Header bytes missing or outside the
    // trace header throw utils::ValueError: the volume cannot be read without them.
    static std::unique_ptr<SeismicVolume> load(const QString& path, const QVariantMap& settings);
    // The settings that choose the header bytes of the line numbers, for load().
    static QVariantMap header_settings(const seismic::SegyHeaderBytes& bytes);

    // Opens the file and takes amplitude statistics from it. Throws utils::ValueError
    // naming the file and what is wrong with it.
    explicit SeismicVolume(const QString& path, seismic::SegyHeaderBytes bytes = {},
                           QObject* parent = nullptr);
    ~SeismicVolume() override;

    QString name() const override;
    QVariantMap prop() const override;
    bool viewable_in_volume() const override { return true; }
    void make_visuals_in_volume(const QString& parent) override;
    // The samples are read in milliseconds: the "depth" sections are time slices.
    QString section_label(const QString& section_type) const override;
    // Unknown section types throw utils::LookupError.
    void make_image_3d(const QString& section_type, const QString& parent) override;

    QString type_name() const override { return TYPE; }
    QString source_path() const override;
    QVariantMap settings() const override;

    const SurveyFrame& frame() const { return frame_; }
    const seismic::AmplitudeStats& stats() const { return stats_; }

    // The line or sample index of the section of `type` (the middle until moved).
    int section_index(const QString& type) const;
    // Reads the section at `index` and shows it in every viewer. On a read error
    // (utils::ValueError) or an index out of range (utils::LookupError) the section
    // stays where it was.
    void set_section_index(const QString& type, int index);

    QString colormap() const { return colormap_; }
    // A name of scene::colormap_names(); others throw utils::ValueError.
    void set_colormap(const QString& name);
    // The colour limit is -clip..clip; the clip must be positive (utils::ValueError).
    double clip() const { return clip_; }
    void set_clip(double clip);
    double opacity() const { return opacity_; }
    // 0 (invisible) to 1 (opaque); outside throws utils::ValueError.
    void set_opacity(double opacity);

    struct Pick {
        SurveyFrame::Sample sample;
        float amplitude = 0.0f;
    };
    // The sample of the section of `type` nearest to a world point on it.
    Pick pick(const QString& type, const std::array<double, 3>& world) const;

signals:
    void sigSectionMoved(const QString& type, int index);
    void sigStyleChanged();

private:
    struct SectionState {
        int index = 0;
        seismic::Section image;  // as drawn: a row per sample (a row per crossline for depth)
    };

    SectionState& section(const QString& type);
    seismic::Section read(const QString& type, int index) const;
    std::vector<std::shared_ptr<VolumeSectionVisual>> section_visuals(const QString& type) const;
    std::vector<std::shared_ptr<VolumeSectionVisual>> all_section_visuals() const;

    std::unique_ptr<seismic::SegyVolumeFile> file_;
    SurveyFrame frame_;
    seismic::AmplitudeStats stats_;
    std::map<QString, SectionState> sections_;
    QString colormap_ = QStringLiteral("seismic");
    double clip_ = 1.0;
    double opacity_ = 1.0;
};

}  // namespace korvex::app::data
