#include "korvex/app/data/volume_style.h"

#include <cmath>

#include "korvex/config/base.h"
#include "korvex/scene/color_bar.h"
#include "korvex/scene/colormap.h"
#include "korvex/scene/image_section.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

using config::_;

void VolumeStyle::set_colormap(const QString& name) {
    if (!scene::colormap_names().contains(name))
        throw utils::ValueError(_("unknown colormap \"%1\"").arg(name).toStdString());
    colormap_ = name;
}

void VolumeStyle::set_clip(double clip, ClipSource source) {
    if (!std::isfinite(clip) || clip <= 0.0)
        throw utils::ValueError(_("the clip must be a positive amplitude").toStdString());
    clip_ = clip;
    clip_source_ = source;
}

bool VolumeStyle::follow_figures(double clip) {
    if (clip_source_ != ClipSource::figures) return false;
    set_clip(clip, ClipSource::figures);
    return true;
}

void VolumeStyle::set_opacity(double opacity) {
    if (!(opacity >= 0.0 && opacity <= 1.0))
        throw utils::ValueError(_("the opacity must lie between 0 and 1").toStdString());
    opacity_ = opacity;
}

void VolumeStyle::save(QVariantMap& settings) const {
    settings.insert(QStringLiteral("colormap"), colormap_);
    settings.insert(QStringLiteral("clip"), clip_);
    settings.insert(QStringLiteral("opacity"), opacity_);
}

void VolumeStyle::show_on(scene::ImageSection& section) const {
    section.set_colormap(colormap_);
    section.set_clim({-clip_, clip_});
    section.set_opacity(opacity_);
}

void VolumeStyle::show_on(scene::ColorBar& bar) const {
    bar.set_colormap(colormap_);
    bar.set_clim({-clip_, clip_});
}

}  // namespace korvex::app::data
