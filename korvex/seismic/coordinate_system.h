#pragma once

#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A coordinate reference system as PROJ knows it, given as an EPSG code ("EPSG:23031") or
// as WKT. Map points keep x east and y north whatever axis order the authority states.
class KORVEX_SEISMIC_EXPORT CoordinateSystem final {
public:
    // Throws utils::ValueError naming the definition when PROJ does not know it or it is
    // not a projected or geographic system.
    explicit CoordinateSystem(const QString& definition);

    const QString& definition() const { return definition_; }
    // As PROJ names it: "ED50 / UTM zone 31N".
    QString name() const;
    // The length unit of map X/Y as a map's scale bar names it ("m", "ft", "US ft"); none
    // for a geographic system, whose axes are angles.
    std::optional<QString> length_unit() const;
    // Longitude and latitude in degrees (WGS 84) of a map point.
    std::array<double, 2> to_lon_lat(double x, double y) const;
    // Map points given in `from` into this system, in place. Throws utils::ValueError when
    // PROJ cannot transform a point.
    void transform_from(const CoordinateSystem& from, std::vector<double>& xs,
                        std::vector<double>& ys) const;

    // The system a SEG-Y textual header names ("EPSG:23031", "ED50 / UTM zone 31N") as an
    // EPSG code, none when it names none PROJ knows.
    static std::optional<QString> named_in(const QString& text);

private:
    struct Proj;
    QString definition_;
    std::shared_ptr<Proj> crs_;
};

}  // namespace korvex::seismic
