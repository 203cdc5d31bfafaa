#pragma once

// Named colormaps for scalar colouring, as VTK lookup tables over a colour limit:
//   "seismic"  blue - white - red (negative amplitudes blue)
//   "gray" / "grey"  black - white;  "gray_r"  white - black
//   "jet"      blue - cyan - yellow - red
//   auto table = make_lookup_table("seismic", {-1.0, 1.0});

#include <QString>
#include <QStringList>
#include <array>

#include <vtkSmartPointer.h>

class vtkLookupTable;

namespace korvex::scene {

QStringList colormap_names();

// Throws utils::ValueError for an unknown name or a colour limit that is not a range.
vtkSmartPointer<vtkLookupTable> make_lookup_table(const QString& name,
                                                  const std::array<double, 2>& clim);

}  // namespace korvex::scene
