#include "korvex/widgets/section_view/bend_marks.h"

#include <QPainter>

namespace korvex::widgets {

BendMarks::BendMarks(const SectionAxis& axis, const SectionTransform& transform)
    : axis_(axis), transform_(transform) {}

void BendMarks::paint(QPainter& painter, const QRectF& names) const {
    const QRectF plot = transform_.plot();
    painter.save();
    const QColor ink = painter.pen().color();
    for (std::size_t i = 0; i < axis_.knots.size(); ++i) {
        const AxisKnot& knot = axis_.knots[i];
        const double x = transform_.to_pixel(QPointF(knot.data, 0)).x();
        if (x < plot.left() - 1 || x > plot.right() + 1) continue;
        const bool bend = i > 0 && i + 1 < axis_.knots.size();
        if (bend) {
            // Green: it stands out from the colormaps' reds and blues and from the wiggles.
            painter.setPen(QPen(QColor(0, 170, 0), 2, Qt::DashLine));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
        painter.setPen(ink);
        painter.drawText(QRectF(x - names.width() / 2, names.top(), names.width(), names.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, knot.name);
    }
    painter.restore();
}

}  // namespace korvex::widgets
