#pragma once

// Named colormaps for scalar colouring over a colour limit:
//   "seismic"  blue - white - red (negative amplitudes blue)
//   "gray" / "grey"  black - white;  "gray_r"  white - black
//   "jet"      blue - cyan - yellow - red

#include <QStringList>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

KORVEX_SCENE_EXPORT QStringList colormap_names();

}  // namespace korvex::scene
