#include "korvex/widgets/map_view/map_frame.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <limits>

#include "korvex/config/base.h"
#include "korvex/utils/nice_step.h"
#include "korvex/widgets/map_view/map_ticks.h"

namespace korvex::widgets {

using config::_;

namespace {

constexpr int TICK = 4;
constexpr int GAP = 4;
// Room for a number between two numbers along the bottom.
constexpr double TICK_SPACING = 100.0;
// A nice step is less than this many times the step asked for.
constexpr double NICE_STEP_RISE = 2.5;
constexpr double ARROW = 28.0;
constexpr double CURSOR = 8.0;

// As many decimals as the step needs, no more.
QString number(double value, double step) {
    const int decimals = std::max(0, int(std::ceil(-std::log10(step))));
    return QString::number(value, 'f', decimals);
}

}  // namespace

MapFrame::MapFrame(QPainter& painter, const MapTransform& transform, const QPalette& palette)
    : painter_(painter), transform_(transform), palette_(palette) {}

void MapFrame::paint_axes() const {
    const QRectF plot = transform_.plot();
    const QRectF shown = transform_.visible();
    const int line = painter_.fontMetrics().height();
    painter_.setPen(palette_.windowText().color());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(plot);
    // One step both ways: a square of the map is a square on the screen. A step as wide
    // as the plot could fall between its edges and leave a narrow map without a number
    // along its bottom, so it is kept under the plot's width; numbers that would run into
    // the one before are left out instead.
    const double step =
        std::min(utils::nice_step(TICK_SPACING / transform_.scale()),
                 utils::nice_step(plot.width() / NICE_STEP_RISE / transform_.scale()));
    double clear = -std::numeric_limits<double>::infinity();
    for (const double x : utils::ticks_between(shown.left(), shown.right(), step)) {
        const double at = transform_.to_pixel({x, 0}).x();
        painter_.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + TICK));
        const QString text = number(x, step);
        const double half = painter_.fontMetrics().horizontalAdvance(text) / 2.0;
        if (at - half < clear) continue;
        painter_.drawText(QRectF(at - 60, plot.bottom() + TICK, 120, line), Qt::AlignCenter, text);
        clear = at + half + GAP;
    }
    painter_.drawText(QRectF(plot.left(), plot.bottom() + TICK + line, plot.width(), line),
                      Qt::AlignCenter, _("Easting"));
    for (const double y : utils::ticks_between(shown.top(), shown.bottom(), step)) {
        const double at = transform_.to_pixel({0, y}).y();
        painter_.drawLine(QPointF(plot.left() - TICK, at), QPointF(plot.left(), at));
        painter_.drawText(QRectF(0, at - line, plot.left() - TICK - GAP, 2 * line),
                          Qt::AlignRight | Qt::AlignVCenter, number(y, step));
    }
    painter_.save();
    painter_.translate(0, plot.center().y());
    painter_.rotate(-90);
    painter_.drawText(QRectF(-plot.height() / 2, 0, plot.height(), line), Qt::AlignCenter,
                      _("Northing"));
    painter_.restore();
}

double MapFrame::scale_length(const MapTransform& transform) {
    return utils::nice_step(transform.plot().width() / 5.0 / transform.scale());
}

QString MapFrame::scale_label(const MapTransform& transform, const QString& unit) {
    const double length = scale_length(transform);
    return number(length, length) + QLatin1Char(' ') + unit;
}

void MapFrame::paint_scale_bar(const QString& unit) const {
    const QRectF plot = transform_.plot();
    const double length = scale_length(transform_);
    const double pixels = length * transform_.scale();
    const int line = painter_.fontMetrics().height();
    const QPointF left(plot.left() + 2 * GAP, plot.bottom() - 2 * GAP);
    const QPointF right = left + QPointF(pixels, 0);
    painter_.setPen(QPen(palette_.windowText().color(), 2.0));
    painter_.drawLine(left, right);
    for (const QPointF& end : {left, right}) painter_.drawLine(end, end - QPointF(0, TICK * 1.5));
    // A label wider than a short bar is centred over it, inside the plot.
    const QString label = scale_label(transform_, unit);
    const double wide = std::max(pixels, double(painter_.fontMetrics().horizontalAdvance(label)));
    painter_.drawText(QRectF(std::max(plot.left() + GAP, left.x() + (pixels - wide) / 2),
                             left.y() - TICK * 1.5 - line, wide, line),
                      Qt::AlignCenter, label);
}

void MapFrame::paint_north_arrow() const {
    const QRectF plot = transform_.plot();
    const int line = painter_.fontMetrics().height();
    const QPointF tip(plot.right() - 2 * GAP - ARROW / 2, plot.top() + 2 * GAP + line);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(ARROW / 3, ARROW));
    arrow.lineTo(tip + QPointF(0, ARROW * 0.7));
    arrow.lineTo(tip + QPointF(-ARROW / 3, ARROW));
    arrow.closeSubpath();
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setPen(palette_.windowText().color());
    painter_.setBrush(palette_.windowText());
    painter_.drawPath(arrow);
    painter_.drawText(QRectF(tip.x() - ARROW / 2, tip.y() - line - GAP / 2.0, ARROW, line),
                      Qt::AlignCenter, _("N"));
    painter_.restore();
}

void MapFrame::paint_cursor(const QPointF& map) const {
    const QPointF at = transform_.to_pixel(map);
    if (!transform_.plot().contains(at)) return;
    painter_.setPen(QPen(palette_.highlight().color(), 1.5));
    painter_.drawLine(at - QPointF(CURSOR, 0), at + QPointF(CURSOR, 0));
    painter_.drawLine(at - QPointF(0, CURSOR), at + QPointF(0, CURSOR));
}

}  // namespace korvex::widgets
