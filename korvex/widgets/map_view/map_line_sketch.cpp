#include "korvex/widgets/map_view/map_line_sketch.h"

#include <QPainter>

namespace korvex::widgets {

namespace {

const QColor SKETCH(215, 60, 20);
constexpr double KNOT_RADIUS = 3.5;

}  // namespace

void MapLineSketch::start() {
    active_ = true;
    points_.clear();
    loose_end_.reset();
}

void MapLineSketch::stop() {
    active_ = false;
    points_.clear();
    loose_end_.reset();
}

void MapLineSketch::take_back() {
    if (!points_.isEmpty()) points_.removeLast();
}

void MapLineSketch::paint(QPainter& painter, const MapTransform& transform) const {
    if (!active_ || points_.isEmpty()) return;
    const QPolygonF pixels = transform.map_to_pixel().map(points_);
    painter.save();
    painter.setClipRect(transform.plot());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(SKETCH, 2.0));
    painter.drawPolyline(pixels);
    // The segment still to be clicked is only a proposal.
    if (loose_end_) {
        painter.setPen(QPen(SKETCH, 1.5, Qt::DashLine));
        painter.drawLine(pixels.back(), transform.to_pixel(*loose_end_));
    }
    painter.setPen(QPen(SKETCH, 1.5));
    painter.setBrush(Qt::white);
    for (const QPointF& knot : pixels) painter.drawEllipse(knot, KNOT_RADIUS, KNOT_RADIUS);
    painter.restore();
}

}  // namespace korvex::widgets
