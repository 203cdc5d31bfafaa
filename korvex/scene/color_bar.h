#pragma once

// The key to a colormap: a bar of its colours from the low to the high limit, with
// numbers and a title, at the right edge of the view. Its numbers and title contrast
// with the background; it is neither picked nor fitted by the camera.
//   ColorBar bar("seismic", {-clip, clip}, "Amplitude");
//   bar.set_clim({-2 * clip, 2 * clip});

#include <QString>
#include <array>

#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT ColorBar final : public Visual {
public:
    // Throws utils::ValueError for an unknown colormap or a limit that is not a range.
    ColorBar(const QString& colormap, const std::array<double, 2>& clim, const QString& title);

    void set_colormap(const QString& colormap);
    void set_clim(const std::array<double, 2>& clim);
    QString colormap() const { return colormap_; }
    std::array<double, 2> clim() const { return clim_; }
    QString title() const;

    void apply_background(const Color& shown) override;

protected:
    const char* type_name() const override { return "ColorBar"; }

private:
    void use_table();

    QString colormap_;
    std::array<double, 2> clim_;
};

}  // namespace korvex::scene
