#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

#include "korvex/widgets/section_view/section_view_export.h"

namespace korvex::widgets {

// Where a section's samples land on the screen. Data coordinates count columns (traces)
// to the right and rows (samples) down, sample (c, r) covering [c, c+1) x [r, r+1). The
// plot shows the data point `centre` at its middle, `scale` pixels per column and
// `scale * exaggeration` pixels per row: the vertical exaggeration is the screen height
// of a row over the width of a column, and zooming keeps it.
class KORVEX_SECTION_VIEW_EXPORT SectionTransform final {
public:
    // The largest zoom, in pixels per column or row: further in shows nothing new.
    static constexpr double MAX_PIXELS_PER_SAMPLE = 64.0;

    void set_plot(const QRectF& plot) { plot_ = plot; }
    const QRectF& plot() const { return plot_; }
    void set_data_size(const QSizeF& size) { data_ = size; }
    const QSizeF& data_size() const { return data_; }

    QPointF centre() const { return centre_; }
    double scale() const { return scale_; }
    // None until chosen: the first fit then chooses the one that fills the plot.
    std::optional<double> exaggeration() const { return exaggeration_; }
    void set_view(const QPointF& centre, double scale, double exaggeration);
    // Changes the vertical scale alone, about the plot's middle.
    void set_exaggeration(double exaggeration);

    QPointF to_pixel(const QPointF& data) const;
    QPointF to_data(const QPointF& pixel) const;
    QRectF to_pixel(const QRectF& data) const;
    // The data rectangle the plot shows.
    QRectF visible() const;

    // The whole section in the plot, centred (filling it when no exaggeration is chosen).
    void fit();
    // The whole section, its exaggeration chosen to fill the plot.
    void fill();
    // Scales by `factor` about a pixel, which keeps showing the same data point.
    void zoom_about(const QPointF& pixel, double factor);
    // Moves the picture by a distance in pixels.
    void pan(const QPointF& pixels);
    // Shows a data rectangle whole, as large as the exaggeration lets it be.
    void zoom_to(const QRectF& data);

private:
    double vertical() const { return scale_ * exaggeration_.value_or(1.0); }
    double fitting_scale(const QSizeF& data) const;
    void clamp_scale();

    QRectF plot_;
    QSizeF data_;
    QPointF centre_;
    double scale_ = 1.0;
    std::optional<double> exaggeration_;
};

}  // namespace korvex::widgets
