#include "korvex/widgets/map_view/map_transform.h"

#include <algorithm>
#include <cmath>

#include "korvex/utils/errors.h"

namespace korvex::widgets {

void MapTransform::set_view(const QPointF& centre, double scale) {
    if (!(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(centre.x()) ||
        !std::isfinite(centre.y()))
        throw utils::ValueError("a map's centre must be two numbers and its scale positive");
    centre_ = centre;
    scale_ = std::min(scale, MAX_SCALE);
}

QPointF MapTransform::to_pixel(const QPointF& map) const {
    // Northing grows up the screen, pixel rows down it.
    return plot_.center() +
           QPointF((map.x() - centre_.x()) * scale_, (centre_.y() - map.y()) * scale_);
}

QPointF MapTransform::to_map(const QPointF& pixel) const {
    const QPointF offset = pixel - plot_.center();
    return {centre_.x() + offset.x() / scale_, centre_.y() - offset.y() / scale_};
}

QTransform MapTransform::map_to_pixel() const {
    const QPointF middle = plot_.center();
    return {scale_,
            0.0,
            0.0,
            -scale_,
            middle.x() - centre_.x() * scale_,
            middle.y() + centre_.y() * scale_};
}

QRectF MapTransform::visible() const {
    return QRectF(to_map(plot_.topLeft()), to_map(plot_.bottomRight())).normalized();
}

void MapTransform::fit(const QRectF& bounds) {
    if (plot_.isEmpty()) return;
    const QRectF area = bounds.normalized();
    centre_ = area.center();
    const double across = std::min(MARGIN, MARGIN_SHARE * plot_.width());
    const double down = std::min(MARGIN, MARGIN_SHARE * plot_.height());
    const QRectF room = plot_.adjusted(across, down, -across, -down);
    // A single point, or points on one line of latitude, still need a scale: a map unit
    // a pixel.
    const double wide = area.width() > 0.0 ? room.width() / area.width() : INFINITY;
    const double high = area.height() > 0.0 ? room.height() / area.height() : INFINITY;
    const double scale = std::min(wide, high);
    scale_ = std::isfinite(scale) ? std::min(scale, MAX_SCALE) : 1.0;
}

void MapTransform::zoom_about(const QPointF& pixel, double factor) {
    const QPointF held = to_map(pixel);
    scale_ = std::min(scale_ * factor, MAX_SCALE);
    const QPointF offset = pixel - plot_.center();
    centre_ = QPointF(held.x() - offset.x() / scale_, held.y() + offset.y() / scale_);
}

void MapTransform::pan(const QPointF& pixels) {
    centre_ += QPointF(-pixels.x() / scale_, pixels.y() / scale_);
}

}  // namespace korvex::widgets
