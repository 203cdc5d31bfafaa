#pragma once

#include <QString>
#include <QVariantMap>

namespace korvex::scene {
class ColorBar;
class ImageSection;
}  // namespace korvex::scene

namespace korvex::app::data {

// How a volume's sections and colour bars look: a colormap over -clip..clip, and the
// sections' opacity. A value is checked as it is set, so a drawn look is always a valid one.
class VolumeStyle {
public:
    // Where the clip came from: only the figures' own clip follows better figures.
    enum class ClipSource { figures, user, project };

    // The clip the amplitude figures give.
    explicit VolumeStyle(double clip) : clip_(clip) {}

    const QString& colormap() const { return colormap_; }
    // A name of scene::colormap_names(); others throw utils::ValueError.
    void set_colormap(const QString& name);
    double clip() const { return clip_; }
    ClipSource clip_source() const { return clip_source_; }
    // Must be positive (utils::ValueError).
    void set_clip(double clip, ClipSource source);
    // Takes the clip of newer figures when the clip is the figures'; says whether it did.
    bool follow_figures(double clip);
    double opacity() const { return opacity_; }
    // 0 (invisible) to 1 (opaque); outside throws utils::ValueError.
    void set_opacity(double opacity);

    // As a project keeps it: "colormap", "clip" and "opacity".
    void save(QVariantMap& settings) const;
    void show_on(scene::ImageSection& section) const;
    void show_on(scene::ColorBar& bar) const;

private:
    QString colormap_ = QStringLiteral("seismic");
    double clip_;
    ClipSource clip_source_ = ClipSource::figures;
    double opacity_ = 1.0;
};

}  // namespace korvex::app::data
