#include "korvex/widgets/section_view/wiggle_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace korvex::widgets {

namespace {

constexpr QRgb INK = 0xff000000;
constexpr int NONE = std::numeric_limits<int>::min();

// Inks pixels first..last (either order) of a scan line, within its width.
void span(QRgb* line, int width, int first, int last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, width - 1);
    for (int x = first; x <= last; ++x) line[x] = INK;
}

}  // namespace

WigglePainter::WigglePainter(const SectionSamples& samples, const SectionTransform& transform,
                             double clip)
    : samples_(samples), transform_(transform), gain_(transform.scale() / clip) {}

void WigglePainter::paint(QPainter& painter) const {
    const QRect plot = transform_.plot().toAlignedRect();
    const QRectF shown =
        transform_.visible().intersected(QRectF(0, 0, samples_.columns, samples_.rows));
    if (shown.isEmpty() || plot.isEmpty()) return;
    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // A trace just out of view still reaches into it with its lobes.
    const int first = std::max(0, int(std::floor(shown.left())) - 1);
    const int last = std::min(samples_.columns - 1, int(std::ceil(shown.right())));
    const double reach = transform_.scale();
    std::vector<double> bases;
    for (int column = first; column <= last; ++column)
        bases.push_back(transform_.to_pixel(QPointF(column + 0.5, 0)).x() - plot.left());
    // Where each wiggle was on the row above; none at the top or after a gap.
    std::vector<int> before(bases.size(), NONE);
    const std::vector<Row> at = rows(plot.height());
    for (int y = 0; y < plot.height(); ++y) {
        const Row& row = at[std::size_t(y)];
        if (row.sample < 0) {
            std::fill(before.begin(), before.end(), NONE);
            continue;
        }
        const float* upper = samples_.values.data() + std::size_t(row.sample) * samples_.columns;
        const float* lower = row.sample + 1 < samples_.rows ? upper + samples_.columns : upper;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::size_t i = 0; i < bases.size(); ++i) {
            const int column = first + int(i);
            const float value = upper[column] + (lower[column] - upper[column]) * row.weight;
            if (std::isnan(value)) {
                before[i] = NONE;
                continue;
            }
            const double offset = std::clamp(value * gain_, -reach, reach);
            const int x = int(std::lround(bases[i] + offset));
            if (offset > 0) span(line, plot.width(), int(std::lround(bases[i])), x);
            span(line, plot.width(), before[i] == NONE ? x : before[i], x);
            before[i] = x;
        }
    }
    painter.drawImage(plot.topLeft(), image);
}

QRect WigglePainter::cells_in_view() const {
    const QRectF shown =
        transform_.visible().intersected(QRectF(0, 0, samples_.columns, samples_.rows));
    if (shown.isEmpty()) return {};
    const int left = int(std::floor(shown.left())), top = int(std::floor(shown.top()));
    return QRect(QPoint(left, top),
                 QPoint(std::min(samples_.columns, int(std::ceil(shown.right()))) - 1,
                        std::min(samples_.rows, int(std::ceil(shown.bottom()))) - 1));
}

void WigglePainter::paint_holes(QPainter& painter, const QColor& background) const {
    const QRect cells = cells_in_view();
    // Row by row as the samples lie in memory, each column's run of holes filled as it ends:
    // a missing trace is one rectangle.
    std::vector<int> starts(std::size_t(std::max(0, cells.width())), -1);
    for (int row = cells.top(); row <= cells.bottom() + 1; ++row) {
        const float* values = row <= cells.bottom()
                                  ? samples_.values.data() + std::size_t(row) * samples_.columns
                                  : nullptr;
        for (int column = cells.left(); column <= cells.right(); ++column) {
            int& start = starts[std::size_t(column - cells.left())];
            const bool hole = values && std::isnan(values[column]);
            if (hole && start < 0) start = row;
            if (!hole && start >= 0) {
                painter.fillRect(transform_.to_pixel(QRectF(column, start, 1, row - start)),
                                 background);
                start = -1;
            }
        }
    }
}

std::vector<WigglePainter::Row> WigglePainter::rows(int height) const {
    const double top = transform_.plot().toAlignedRect().top();
    std::vector<Row> rows(std::size_t(height), Row{});
    for (int y = 0; y < height; ++y) {
        // Samples sit at the middle of their rows: 0.5, 1.5, ... The first and last hold
        // over the half row beyond them, so the wiggle covers the rows the colours do.
        const double at = transform_.to_data(QPointF(0, top + y + 0.5)).y();
        if (at < 0.0 || at >= samples_.rows) continue;
        const double data = std::clamp(at - 0.5, 0.0, samples_.rows - 1.0);
        const int above = std::min(int(data), samples_.rows - 2);
        rows[std::size_t(y)] = {std::max(above, 0), float(data - std::max(above, 0))};
    }
    return rows;
}

}  // namespace korvex::widgets
