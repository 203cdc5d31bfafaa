#pragma once

// Named colormaps for scalar colouring over a colour limit:
//   "seismic"  blue - white - red (negative amplitudes blue)
//   "gray" / "grey"  black - white;  "gray_r"  white - black
//   "jet"      blue - cyan - yellow - red

#include <QColor>
#include <QStringList>
#include <vector>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

KORVEX_SCENE_EXPORT QStringList colormap_names();

// The colours the 3D sections draw a colormap with, from its low to its high end: a flat
// view painting with these matches the 3D view. Throws utils::ValueError for an unknown name.
KORVEX_SCENE_EXPORT std::vector<QRgb> colormap_colors(const QString& name);

}  // namespace korvex::scene
