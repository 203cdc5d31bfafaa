#include "korvex/widgets/section_view/section_marks.h"

#include <QPainter>

#include "korvex/widgets/section_view/section_transform.h"

namespace korvex::widgets {

namespace {

// As the 3D view's pick markers, so that a pick looks the same wherever it is seen.
const QColor PICK_COLOR(255, 217, 0);
constexpr double PICK_RADIUS = 5.0;

}  // namespace

void SectionMarks::paint(QPainter& painter, const SectionTransform& transform) const {
    const QRectF plot = transform.plot();
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(PICK_COLOR);
    for (const QPointF& pick : picks_)
        painter.drawEllipse(transform.to_pixel(pick), PICK_RADIUS, PICK_RADIUS);
    // Black on a white halo, to be seen over any colormap.
    for (const QPen& pen : {QPen(Qt::white, 3.0), QPen(Qt::black, 1.0)}) {
        if (!cursor_) break;
        painter.setPen(pen);
        if (cursor_->column) {
            const double x = transform.to_pixel(QPointF(*cursor_->column, 0.0)).x();
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        if (cursor_->row) {
            const double y = transform.to_pixel(QPointF(0.0, *cursor_->row)).y();
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
    }
    painter.restore();
}

}  // namespace korvex::widgets
