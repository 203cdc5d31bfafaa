#pragma once

#include <QImage>
#include <QLineF>
#include <functional>

#include "korvex/widgets/map_view/map_scene.h"
#include "korvex/widgets/map_view/map_transform.h"
#include "korvex/widgets/map_view/map_view_export.h"

class QPainter;

namespace korvex::widgets {

// Draws a map's content inside the plot: each survey's live area and outline with its
// inline/crossline grid annotated along the edges, the sections and arbitrary lines other
// views show, the points by name and the picks.
class KORVEX_MAP_VIEW_EXPORT MapPainter final {
public:
    // Closer together than this, grid labels would run into each other.
    static constexpr double LABEL_SPACING = 80.0;

    MapPainter(QPainter& painter, const MapTransform& transform);

    void paint(const MapScene& scene) const;

    // Grid indices to pixels.
    static QTransform grid_to_pixel(const MapSurvey& survey, const MapTransform& transform);
    // The fill of a survey with holes, for MapSurvey::live.
    static QImage live_bins(int ilines, int xlines, const std::function<bool(int, int)>& has_trace);
    // Both ends of a section's line across its survey, in pixels.
    static QLineF section_line(const MapScene& scene, const MapSection& section,
                               const MapTransform& transform);

private:
    void paint_survey(const MapSurvey& survey) const;
    void paint_grid(const MapSurvey& survey, bool inlines) const;
    void paint_section(const MapScene& scene, const MapSection& section) const;
    // Unnamed points come by the thousand (a horizon): dots, that leave the map readable.
    void paint_dots(const std::vector<MapPoint>& points) const;
    // A point by name.
    void paint_point(const MapPoint& point) const;
    void paint_polyline(const MapPolyline& line) const;
    void paint_pick(const MapPoint& pick) const;
    // A label beside `end`, away from `from`: past the end of a line.
    void label_beyond(const QPointF& from, const QPointF& end, const QString& text) const;
    // `text` in `box`, moved inside the plot if it would be cut at the plot's edge while
    // the place it names, `anchor`, is on the plot.
    void draw_label(const QRectF& box, const QPointF& anchor, const QString& text) const;

    QPainter& painter_;
    const MapTransform& transform_;
};

}  // namespace korvex::widgets
