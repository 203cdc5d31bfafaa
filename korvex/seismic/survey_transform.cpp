#include "korvex/seismic/survey_transform.h"

#include <algorithm>
#include <cmath>

namespace korvex::seismic {

namespace {

// Solves the 3x3 system m * v = r by Cramer's rule; false when it is singular.
bool solve3(const std::array<std::array<double, 3>, 3>& m, const std::array<double, 3>& r,
            std::array<double, 3>& v) {
    auto det = [](const std::array<std::array<double, 3>, 3>& a) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    if (!(std::abs(d) > 1e-12)) return false;
    for (int column = 0; column < 3; ++column) {
        auto replaced = m;
        for (int row = 0; row < 3; ++row) replaced[row][column] = r[row];
        v[column] = det(replaced) / d;
    }
    return true;
}

}  // namespace

std::optional<SurveyTransform> SurveyTransform::fit(const std::vector<TracePosition>& all) {
    // Dead and fill traces often carry no coordinates: zero X and Y say so, not a place.
    std::vector<TracePosition> traces;
    std::copy_if(all.begin(), all.end(), std::back_inserter(traces),
                 [](const TracePosition& t) { return t.x != 0.0 || t.y != 0.0; });
    if (traces.size() < 3) return std::nullopt;
    // Line numbers are taken about their mean: survey numbers in the thousands and map
    // coordinates in the millions would otherwise lose the fit's precision.
    double il0 = 0.0, xl0 = 0.0;
    for (const TracePosition& t : traces) il0 += t.iline, xl0 += t.xline;
    il0 /= double(traces.size());
    xl0 /= double(traces.size());
    std::array<std::array<double, 3>, 3> normal{};
    std::array<double, 3> rx{}, ry{};
    for (const TracePosition& t : traces) {
        const std::array<double, 3> row{1.0, t.iline - il0, t.xline - xl0};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) normal[i][j] += row[i] * row[j];
            rx[i] += row[i] * t.x;
            ry[i] += row[i] * t.y;
        }
    }
    std::array<double, 3> ax{}, ay{};
    if (!solve3(normal, rx, ax) || !solve3(normal, ry, ay)) return std::nullopt;
    SurveyTransform transform;
    transform.c_ = {ax[0] - ax[1] * il0 - ax[2] * xl0, ax[1], ax[2],
                    ay[0] - ay[1] * il0 - ay[2] * xl0, ay[1], ay[2]};
    const double jacobian = ax[1] * ay[2] - ax[2] * ay[1];
    if (!(std::abs(jacobian) > 0.0) || !std::isfinite(jacobian)) return std::nullopt;
    double squares = 0.0;
    for (const TracePosition& t : traces) {
        const auto fitted = transform.to_map(t.iline, t.xline);
        squares += std::pow(fitted[0] - t.x, 2) + std::pow(fitted[1] - t.y, 2);
    }
    transform.residual_ = std::sqrt(squares / double(traces.size()));
    return transform;
}

std::array<double, 2> SurveyTransform::to_map(double iline, double xline) const {
    return {c_[0] + c_[1] * iline + c_[2] * xline, c_[3] + c_[4] * iline + c_[5] * xline};
}

std::array<double, 2> SurveyTransform::to_lines(double x, double y) const {
    const double dx = x - c_[0];
    const double dy = y - c_[3];
    const double jacobian = c_[1] * c_[5] - c_[2] * c_[4];
    return {(c_[5] * dx - c_[2] * dy) / jacobian, (c_[1] * dy - c_[4] * dx) / jacobian};
}

double SurveyTransform::iline_spacing() const { return std::hypot(c_[1], c_[4]); }

double SurveyTransform::xline_spacing() const { return std::hypot(c_[2], c_[5]); }

}  // namespace korvex::seismic
