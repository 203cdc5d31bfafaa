#include "korvex/widgets/section_view/wiggle_painter.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace korvex::widgets {

WigglePainter::WigglePainter(const SectionSamples& samples, const SectionTransform& transform,
                             double clip)
    : samples_(samples), transform_(transform), gain_(transform.scale() / clip) {}

void WigglePainter::paint(QPainter& painter) const {
    const QRectF shown =
        transform_.visible().intersected(QRectF(0, 0, samples_.columns, samples_.rows));
    if (shown.isEmpty()) return;
    // A trace just out of view still reaches into it with its lobes.
    const int first_column = std::max(0, int(std::floor(shown.left())) - 1);
    const int last_column = std::min(samples_.columns - 1, int(std::ceil(shown.right())));
    const int first_row = std::max(0, int(std::floor(shown.top())));
    const int last_row = std::min(samples_.rows - 1, int(std::ceil(shown.bottom())));
    const double row_pixels =
        transform_.to_pixel(QPointF(0, 1)).y() - transform_.to_pixel(QPointF(0, 0)).y();
    const int stride = std::max(1, int(1.0 / row_pixels));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    for (int column = first_column; column <= last_column; ++column)
        paint_trace(painter, column, first_row, last_row, stride);
    painter.restore();
}

void WigglePainter::paint_trace(QPainter& painter, int column, int first_row, int last_row,
                                int stride) const {
    const double base = transform_.to_pixel(QPointF(column + 0.5, 0)).x();
    const double reach = transform_.scale();
    QPolygonF wiggle;
    QPolygonF lobes;
    // A hole breaks the trace: what was gathered so far is drawn on its own.
    const auto flush = [&] {
        if (wiggle.size() > 1) {
            lobes.prepend(QPointF(base, wiggle.front().y()));
            lobes.append(QPointF(base, wiggle.back().y()));
            painter.setPen(Qt::NoPen);
            painter.drawPolygon(lobes);
            painter.setPen(QPen(Qt::black, 0));
            painter.drawPolyline(wiggle);
        }
        wiggle.clear();
        lobes.clear();
    };
    for (int row = first_row; row <= last_row; row += stride) {
        const float value = samples_.values[std::size_t(row) * samples_.columns + column];
        if (std::isnan(value)) {
            flush();
            continue;
        }
        const double y = transform_.to_pixel(QPointF(0, row + 0.5)).y();
        const double offset = std::clamp(value * gain_, -reach, reach);
        if (!wiggle.isEmpty()) {
            // The lobe ends where the trace crosses its middle, between the samples.
            const QPointF last = wiggle.back();
            const double before = last.x() - base;
            if ((before > 0) != (offset > 0) && before != offset)
                lobes.append(QPointF(base, last.y() + (y - last.y()) * before / (before - offset)));
        }
        wiggle.append(QPointF(base + offset, y));
        lobes.append(QPointF(base + std::max(offset, 0.0), y));
    }
    flush();
}

}  // namespace korvex::widgets
