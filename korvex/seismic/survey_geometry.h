#pragma once

#include <array>
#include <optional>

#include "korvex/seismic/segy_geometry.h"
#include "korvex/seismic/seismic_export.h"
#include "korvex/seismic/survey_grid.h"
#include "korvex/seismic/survey_transform.h"

namespace korvex::seismic {

// Where a survey lies on the map: its inline/crossline grid placed by the transform fitted
// over its traces' CDP coordinates, rotation, bin sizes and handedness as they are. A
// survey whose traces carry no coordinates lies on a grid of one map unit per line number,
// inline 0 and crossline 0 at the map's origin, inlines along east and crosslines along
// north.
//
// The scene draws in map coordinates taken about a local origin kept in double precision
// (OpenSurveys::origin() in the app gives it), so that numbers near 6e6 keep their metres
// in single-precision drawing:
//   world x = easting - origin x, world y = northing - origin y (+x east, +y north),
//   world z = -time (ms) or -depth, drawn times the view's vertical scale (map units per ms).
class KORVEX_SEISMIC_EXPORT SurveyGeometry final {
public:
    SurveyGeometry(const SegyGeometry& grid, const std::optional<SurveyTransform>& fitted);
    // The survey laid on a grid the user set (SurveyGrid::check throws for a bad one).
    SurveyGeometry(const SegyGeometry& lines, const SurveyGrid& grid);

    // False for the unit grid of a survey without coordinates.
    bool has_coordinates() const { return has_coordinates_; }
    const SurveyTransform& transform() const { return transform_; }

    std::array<double, 2> to_map(double iline, double xline) const;
    // Fractional line numbers at a map point.
    std::array<double, 2> to_lines(double x, double y) const;

    // Between neighbouring line numbers of the file (signed, 1 for a single line).
    int iline_step() const { return iline_step_; }
    int xline_step() const { return xline_step_; }
    // The bin: map distance between neighbouring lines of the file.
    double iline_bin() const;
    double xline_bin() const;
    // Compass direction in which inline numbers grow, degrees clockwise from north in
    // (-180, 180].
    double inline_azimuth() const;
    // Whether crossline numbers grow clockwise of the inline direction, seen from above.
    bool crosslines_clockwise() const;

    // Map X/Y of the first and last lines' corners: (first IL, first XL), (last IL, first
    // XL), (last IL, last XL), (first IL, last XL).
    std::array<std::array<double, 2>, 4> corners() const;
    std::array<double, 2> centre() const;
    // The grid as a user would set it to lay the survey where it lies.
    SurveyGrid grid() const;

private:
    SurveyTransform transform_;
    bool has_coordinates_;
    std::array<double, 2> ilines_;
    std::array<double, 2> xlines_;
    int iline_step_;
    int xline_step_;
};

}  // namespace korvex::seismic
