#pragma once

#include <array>
#include <optional>
#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// One trace's place in the survey: its line numbers and its CDP map coordinates.
struct TracePosition {
    double iline = 0.0;
    double xline = 0.0;
    double x = 0.0;
    double y = 0.0;
};

// The affine map from inline/crossline numbers to map X/Y of a survey:
//   x = x0 + x_per_iline * iline + x_per_xline * xline, and the same for y.
// Fitted by least squares over the traces, so that a few rounded or odd coordinates
// do not tilt the grid; the residual tells how well the traces follow it.
class KORVEX_SEISMIC_EXPORT SurveyTransform final {
public:
    SurveyTransform() = default;
    // x0, x_per_iline, x_per_xline, y0, y_per_iline, y_per_xline, as coefficients() gives
    // them: a grid set rather than fitted.
    explicit SurveyTransform(const std::array<double, 6>& coefficients) : c_(coefficients) {}

    // None when the positions do not span a grid: fewer than three traces, all on one
    // line, or coordinates that do not change with the lines. Traces whose X and Y are both
    // zero have none, and are left out.
    static std::optional<SurveyTransform> fit(const std::vector<TracePosition>& traces);

    std::array<double, 2> to_map(double iline, double xline) const;
    // The inverse map: the (fractional) inline and crossline at a map point.
    std::array<double, 2> to_lines(double x, double y) const;

    // Map distance between neighbouring inlines, and between neighbouring crosslines,
    // one line number apart.
    double iline_spacing() const;
    double xline_spacing() const;
    // Root mean square of the distances between the traces' coordinates and the fit.
    double residual() const { return residual_; }
    // x0, x_per_iline, x_per_xline, y0, y_per_iline, y_per_xline.
    const std::array<double, 6>& coefficients() const { return c_; }

private:
    std::array<double, 6> c_{};
    double residual_ = 0.0;
};

}  // namespace korvex::seismic
