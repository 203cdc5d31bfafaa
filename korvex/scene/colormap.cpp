#include "korvex/scene/colormap.h"
#include "korvex/scene/private/lookup_table.h"

#include <cmath>
#include <map>
#include <vector>

#include <vtkColorTransferFunction.h>
#include <vtkLookupTable.h>

#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

constexpr int TABLE_SIZE = 256;

struct Stop {
    double at;
    double red, green, blue;
};

const std::map<QString, std::vector<Stop>>& colormaps() {
    static const std::map<QString, std::vector<Stop>> maps{
        {"seismic",
         {{0.0, 0.0, 0.0, 0.3},
          {0.25, 0.0, 0.0, 1.0},
          {0.5, 1.0, 1.0, 1.0},
          {0.75, 1.0, 0.0, 0.0},
          {1.0, 0.5, 0.0, 0.0}}},
        {"gray", {{0.0, 0.0, 0.0, 0.0}, {1.0, 1.0, 1.0, 1.0}}},
        {"grey", {{0.0, 0.0, 0.0, 0.0}, {1.0, 1.0, 1.0, 1.0}}},
        {"gray_r", {{0.0, 1.0, 1.0, 1.0}, {1.0, 0.0, 0.0, 0.0}}},
        {"jet",
         {{0.0, 0.0, 0.0, 0.5},
          {0.11, 0.0, 0.0, 1.0},
          {0.36, 0.0, 1.0, 1.0},
          {0.62, 1.0, 1.0, 0.0},
          {0.87, 1.0, 0.0, 0.0},
          {1.0, 0.5, 0.0, 0.0}}},
    };
    return maps;
}

}  // namespace

QStringList colormap_names() {
    QStringList names;
    for (const auto& entry : colormaps()) names << entry.first;
    return names;
}

std::vector<QRgb> colormap_colors(const QString& name) {
    const auto table = make_lookup_table(name, {0.0, 1.0});
    std::vector<QRgb> colors(TABLE_SIZE);
    for (int i = 0; i < TABLE_SIZE; ++i) {
        double rgba[4];
        table->GetTableValue(i, rgba);
        colors[i] = QColor::fromRgbF(rgba[0], rgba[1], rgba[2]).rgb();
    }
    return colors;
}

vtkSmartPointer<vtkLookupTable> make_lookup_table(const QString& name,
                                                  const std::array<double, 2>& clim) {
    const auto found = colormaps().find(name);
    if (found == colormaps().end()) {
        throw utils::ValueError(
            utils::format("unknown colormap '{}' (known: {})", name, colormap_names().join(", "))
                .toStdString());
    }
    if (!(std::isfinite(clim[0]) && std::isfinite(clim[1]) && clim[0] < clim[1])) {
        throw utils::ValueError(
            utils::format("colour limits must be a range low < high, got ({}, {})", clim[0],
                          clim[1])
                .toStdString());
    }
    auto ramp = vtkSmartPointer<vtkColorTransferFunction>::New();
    for (const Stop& stop : found->second)
        ramp->AddRGBPoint(stop.at, stop.red, stop.green, stop.blue);
    auto table = vtkSmartPointer<vtkLookupTable>::New();
    table->SetNumberOfTableValues(TABLE_SIZE);
    for (int i = 0; i < TABLE_SIZE; ++i) {
        double rgb[3];
        ramp->GetColor(static_cast<double>(i) / (TABLE_SIZE - 1), rgb);
        table->SetTableValue(i, rgb[0], rgb[1], rgb[2], 1.0);
    }
    table->SetNanColor(0.0, 0.0, 0.0, 0.0);
    table->SetTableRange(clim[0], clim[1]);
    table->Build();
    return table;
}

}  // namespace korvex::scene
