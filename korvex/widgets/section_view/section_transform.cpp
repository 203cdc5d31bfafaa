#include "korvex/widgets/section_view/section_transform.h"

#include <algorithm>

#include "korvex/utils/errors.h"

namespace korvex::widgets {

void SectionTransform::set_view(const QPointF& centre, double scale, double exaggeration) {
    if (!(scale > 0.0) || !(exaggeration > 0.0))
        throw utils::ValueError("a section's zoom and vertical exaggeration must be positive");
    centre_ = centre;
    scale_ = scale;
    exaggeration_ = exaggeration;
    clamp_scale();
}

void SectionTransform::set_exaggeration(double exaggeration) {
    set_view(centre_, scale_, exaggeration);
}

QPointF SectionTransform::to_pixel(const QPointF& data) const {
    return plot_.center() +
           QPointF((data.x() - centre_.x()) * scale_, (data.y() - centre_.y()) * vertical());
}

QPointF SectionTransform::to_data(const QPointF& pixel) const {
    const QPointF offset = pixel - plot_.center();
    return centre_ + QPointF(offset.x() / scale_, offset.y() / vertical());
}

QRectF SectionTransform::to_pixel(const QRectF& data) const {
    return {to_pixel(data.topLeft()), to_pixel(data.bottomRight())};
}

QRectF SectionTransform::visible() const {
    return {to_data(plot_.topLeft()), to_data(plot_.bottomRight())};
}

double SectionTransform::fitting_scale(const QSizeF& data) const {
    return std::min(plot_.width() / data.width(),
                    plot_.height() / (data.height() * exaggeration_.value_or(1.0)));
}

void SectionTransform::fit() {
    if (data_.isEmpty() || plot_.isEmpty()) return;
    if (!exaggeration_) {
        fill();
        return;
    }
    centre_ = QPointF(data_.width() / 2, data_.height() / 2);
    scale_ = fitting_scale(data_);
    clamp_scale();
}

void SectionTransform::fill() {
    if (data_.isEmpty() || plot_.isEmpty()) return;
    exaggeration_ = (plot_.height() / data_.height()) / (plot_.width() / data_.width());
    fit();
}

void SectionTransform::zoom_about(const QPointF& pixel, double factor) {
    const QPointF held = to_data(pixel);
    scale_ *= factor;
    clamp_scale();
    const QPointF offset = pixel - plot_.center();
    centre_ = held - QPointF(offset.x() / scale_, offset.y() / vertical());
}

void SectionTransform::pan(const QPointF& pixels) {
    centre_ -= QPointF(pixels.x() / scale_, pixels.y() / vertical());
}

void SectionTransform::zoom_to(const QRectF& data) {
    const QRectF area = data.normalized();
    if (area.isEmpty() || plot_.isEmpty()) return;
    centre_ = area.center();
    scale_ = fitting_scale(area.size());
    clamp_scale();
}

void SectionTransform::clamp_scale() {
    // Both ways of the exaggeration: neither a column nor a row grows past the limit.
    const double widest = MAX_PIXELS_PER_SAMPLE / std::max(1.0, exaggeration_.value_or(1.0));
    scale_ = std::min(scale_, widest);
}

}  // namespace korvex::widgets
