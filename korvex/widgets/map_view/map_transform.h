#pragma once

#include <QPointF>
#include <QRectF>
#include <QTransform>

#include "korvex/widgets/map_view/map_view_export.h"

namespace korvex::widgets {

// Where map coordinates land on the screen, north up and east right at one scale both
// ways: the plot shows the map point `centre` at its middle, `scale` pixels per map unit.
class KORVEX_MAP_VIEW_EXPORT MapTransform final {
public:
    // Pixels left free around what a fit shows, room for the names beside a survey: at most
    // MARGIN, and no more than MARGIN_SHARE of the plot, so that a narrow map (a third of
    // the window, beside the 3D view) still gives most of its room to the surveys.
    static constexpr double MARGIN = 60.0;
    static constexpr double MARGIN_SHARE = 0.1;
    // Pixels per map unit at most: a bin of centimetres fills the screen.
    static constexpr double MAX_SCALE = 1e4;

    void set_plot(const QRectF& plot) { plot_ = plot; }
    const QRectF& plot() const { return plot_; }

    QPointF centre() const { return centre_; }
    double scale() const { return scale_; }
    // Throws utils::ValueError for a scale that is not a positive number.
    void set_view(const QPointF& centre, double scale);

    QPointF to_pixel(const QPointF& map) const;
    QPointF to_map(const QPointF& pixel) const;
    QTransform map_to_pixel() const;
    // The map rectangle the plot shows.
    QRectF visible() const;

    // Shows `bounds` whole and centred (a point or a line at a scale of its own).
    void fit(const QRectF& bounds);
    // Scales by `factor` about a pixel, which keeps showing the same map point.
    void zoom_about(const QPointF& pixel, double factor);
    // Moves the map by a distance in pixels.
    void pan(const QPointF& pixels);

private:
    QRectF plot_;
    QPointF centre_;
    double scale_ = 1.0;
};

}  // namespace korvex::widgets
