#include "korvex/widgets/section_view/section_outline.h"

#include <QPainter>

namespace korvex::widgets {

void SectionOutline::paint(QPainter& painter, const SectionTransform& transform,
                           const QColor& color) const {
    if (lines_.empty()) return;
    painter.save();
    painter.setPen(QPen(color, 0));
    for (const QLineF& line : lines_)
        painter.drawLine(transform.to_pixel(line.p1()), transform.to_pixel(line.p2()));
    painter.restore();
}

}  // namespace korvex::widgets
