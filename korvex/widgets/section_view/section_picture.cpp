#include "korvex/widgets/section_view/section_picture.h"

#include <algorithm>
#include <cmath>

#include "korvex/scene/colormap.h"
#include "korvex/utils/errors.h"

namespace korvex::widgets {

SectionPicture::SectionPicture()
    : colormap_(QStringLiteral("seismic")), colors_(scene::colormap_colors(colormap_)) {}

void SectionPicture::set_samples(SectionSamples samples) {
    if (samples.rows < 0 || samples.columns < 0 ||
        samples.values.size() != static_cast<std::size_t>(samples.rows) * samples.columns)
        throw utils::ValueError("a section's samples must fill its rows and columns");
    samples_ = std::move(samples);
    paint();
}

void SectionPicture::set_style(const QString& colormap, double clip) {
    if (!(clip > 0.0) || !std::isfinite(clip))
        throw utils::ValueError("a section's clip must be a positive number");
    colors_ = scene::colormap_colors(colormap);
    colormap_ = colormap;
    clip_ = clip;
    paint();
}

void SectionPicture::paint() {
    if (samples_.values.empty()) {
        image_ = QImage();
        return;
    }
    if (image_.width() != samples_.columns || image_.height() != samples_.rows)
        image_ = QImage(samples_.columns, samples_.rows, QImage::Format_ARGB32_Premultiplied);
    // The 3D view's lookup: the clip range cut into as many bins as there are colours.
    const float last = static_cast<float>(colors_.size() - 1);
    const float low = static_cast<float>(-clip_);
    const float bins = static_cast<float>(colors_.size() / (2.0 * clip_));
    const QRgb* colors = colors_.data();
    const float* value = samples_.values.data();
    for (int row = 0; row < samples_.rows; ++row) {
        auto* pixel = reinterpret_cast<QRgb*>(image_.scanLine(row));
        for (int column = 0; column < samples_.columns; ++column) {
            const float sample = value[column];
            const float bin = std::min(std::max((sample - low) * bins, 0.0f), last);
            pixel[column] = std::isnan(sample) ? 0 : colors[static_cast<int>(bin)];
        }
        value += samples_.columns;
    }
}

}  // namespace korvex::widgets
