#pragma once

#include <QRectF>

#include "korvex/widgets/section_view/section_axis.h"
#include "korvex/widgets/section_view/section_transform.h"

class QPainter;

namespace korvex::widgets {

// The knots of an arbitrary line's distance axis: a dashed line down the section at each
// bend, and the name of every point the line runs through, ends included, in a row of
// their own above the plot.
class BendMarks final {
public:
    BendMarks(const SectionAxis& axis, const SectionTransform& transform);
    // `names` is the row the names are written in.
    void paint(QPainter& painter, const QRectF& names) const;

private:
    const SectionAxis& axis_;
    const SectionTransform& transform_;
};

}  // namespace korvex::widgets
