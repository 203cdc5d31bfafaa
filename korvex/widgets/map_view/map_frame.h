#pragma once

#include <QPointF>
#include <QString>
#include <optional>

#include "korvex/widgets/map_view/map_transform.h"
#include "korvex/widgets/map_view/map_view_export.h"

class QPainter;
class QPalette;

namespace korvex::widgets {

// What a map shows around its content: eastings along the bottom and northings up the
// side, in map units; a scale bar; an arrow to the north; and the cross of a cursor.
class KORVEX_MAP_VIEW_EXPORT MapFrame final {
public:
    // Room for a northing of seven digits and a decimal.
    static constexpr const char* WIDEST_NUMBER = "0000000.0";

    MapFrame(QPainter& painter, const MapTransform& transform, const QPalette& palette);

    void paint_axes() const;
    // The bar's length is told in `unit`.
    void paint_scale_bar(const QString& unit) const;
    void paint_north_arrow() const;
    void paint_cursor(const QPointF& map) const;

    // The length of the scale bar, in map units: a round number about a fifth of the plot.
    static double scale_length(const MapTransform& transform);
    // What the scale bar says: its length and `unit`.
    static QString scale_label(const MapTransform& transform, const QString& unit);

private:
    QPainter& painter_;
    const MapTransform& transform_;
    const QPalette& palette_;
};

}  // namespace korvex::widgets
