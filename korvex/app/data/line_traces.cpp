#include "korvex/app/data/line_traces.h"

#include <cmath>
#include <limits>

#include "korvex/seismic/segy_geometry.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/survey_geometry.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

namespace {

// The index of the line nearest to a fractional line number; -1 beyond half a line past
// either end.
int nearest_index(double line, const std::vector<int>& lines, int step) {
    const long index = std::lround((line - lines.front()) / step);
    return index >= 0 && index < long(lines.size()) ? int(index) : -1;
}

constexpr double SLACK = 0.01;

}  // namespace

LineTraces::LineTraces(const std::vector<LinePoint>& points, const seismic::SegyGeometry& grid,
                       const seismic::SurveyGeometry& survey) {
    std::vector<LinePoint> distinct;
    for (const LinePoint& point : points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            throw utils::ValueError(
                QStringLiteral("the point %1 of an arbitrary line has no map position")
                    .arg(point.name)
                    .toStdString());
        if (distinct.empty() || point.x != distinct.back().x || point.y != distinct.back().y)
            distinct.push_back(point);
    }
    if (distinct.size() < 2)
        throw utils::ValueError("an arbitrary line needs two or more points apart");

    const double bin = std::min(survey.iline_bin(), survey.xline_bin());
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < distinct.size(); ++i)
        length += std::hypot(distinct[i + 1].x - distinct[i].x, distinct[i + 1].y - distinct[i].y);
    // Each column holds a whole trace: a line across a continent would not fit in memory.
    if (!(length / bin < MAX_COLUMNS))
        throw utils::ValueError(
            QStringLiteral("an arbitrary line of %1 bins is too long: at most %2")
                .arg(std::ceil(length / bin))
                .arg(MAX_COLUMNS)
                .toStdString());
    const auto place = [&](double x, double y) {
        const auto [iline, xline] = survey.to_lines(x, y);
        Position position{nearest_index(iline, grid.ilines, survey.iline_step()),
                          nearest_index(xline, grid.xlines, survey.xline_step())};
        if (position.iline_index < 0 || position.xline_index < 0) position = {};
        positions_.push_back(position);
    };
    double distance = 0.0;
    for (std::size_t i = 0; i + 1 < distinct.size(); ++i) {
        const LinePoint& from = distinct[i];
        const LinePoint& to = distinct[i + 1];
        knots_.push_back({int(positions_.size()), distance, from.name});
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        // A segment a whole number of bins long, give or take the rounding of the fitted
        // grid, takes that many steps, not one more.
        const int steps = std::max(1, int(std::ceil(length / bin - SLACK)));
        for (int k = 0; k < steps; ++k) {
            const double along = double(k) / steps;
            place(from.x + along * (to.x - from.x), from.y + along * (to.y - from.y));
        }
        distance += length;
    }
    knots_.push_back({int(positions_.size()), distance, distinct.back().name});
    place(distinct.back().x, distinct.back().y);
}

seismic::Section LineTraces::read(const seismic::SegyVolumeFile& file) const {
    const int samples = file.geometry().samples;
    const int columns = int(positions_.size());
    seismic::Section section{samples, columns,
                             std::vector<float>(std::size_t(samples) * columns,
                                                std::numeric_limits<float>::quiet_NaN())};
    std::vector<float> trace;
    for (int column = 0; column < columns; ++column) {
        const Position& at = positions_[std::size_t(column)];
        if (!at.inside()) continue;
        // A diagonal segment crosses some traces twice running: read once.
        const bool again = column > 0 &&
                           positions_[std::size_t(column) - 1].iline_index == at.iline_index &&
                           positions_[std::size_t(column) - 1].xline_index == at.xline_index;
        if (!again) trace = file.read_trace(at.iline_index, at.xline_index);
        for (int row = 0; row < samples; ++row)
            section.values[std::size_t(row) * columns + column] = trace[std::size_t(row)];
    }
    return section;
}

}  // namespace korvex::app::data
