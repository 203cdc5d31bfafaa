#pragma once

// The colormaps of colormap.h as VTK lookup tables over a colour limit:
//   auto table = make_lookup_table("seismic", {-1.0, 1.0});

#include <QString>
#include <array>

#include <vtkLookupTable.h>
#include <vtkSmartPointer.h>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

// Throws utils::ValueError for an unknown name or a colour limit that is not a range.
KORVEX_SCENE_EXPORT vtkSmartPointer<vtkLookupTable> make_lookup_table(
    const QString& name, const std::array<double, 2>& clim);

}  // namespace korvex::scene
