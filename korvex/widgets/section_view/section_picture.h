#pragma once

#include <QImage>
#include <QRgb>
#include <QString>
#include <vector>

#include "korvex/widgets/section_view/section_view_export.h"

namespace korvex::widgets {

// A section's amplitudes, row by row: a row per sample down the trace (a row per line
// of a time slice), a column per trace.
struct SectionSamples {
    int rows = 0;
    int columns = 0;
    std::vector<float> values;
};

// A section's samples and the picture of them in variable density: each sample one pixel,
// coloured by a colormap over -clip..clip; a sample that is not a number (a hole) is left
// transparent. The picture is painted again when the samples or the colours change, never
// for a zoom or a pan.
class KORVEX_SECTION_VIEW_EXPORT SectionPicture final {
public:
    SectionPicture();

    // Throws utils::ValueError when the values do not fill rows x columns.
    void set_samples(SectionSamples samples);
    const SectionSamples& samples() const { return samples_; }
    // Throws utils::ValueError for an unknown colormap or a clip that is not positive.
    void set_style(const QString& colormap, double clip);
    const QString& colormap() const { return colormap_; }
    double clip() const { return clip_; }
    // From the low to the high end of the clip.
    const std::vector<QRgb>& colors() const { return colors_; }

    const QImage& image() const { return image_; }

private:
    void paint();

    SectionSamples samples_;
    QString colormap_;
    std::vector<QRgb> colors_;
    double clip_ = 1.0;
    QImage image_;
};

}  // namespace korvex::widgets
