#pragma once

#include <QPointF>
#include <QPolygonF>
#include <optional>

#include "korvex/widgets/map_view/map_transform.h"
#include "korvex/widgets/map_view/map_view_export.h"

class QPainter;

namespace korvex::widgets {

// An arbitrary line as it is clicked on the map: the points taken so far, in map
// coordinates, and a loose end that follows the mouse to where the next one would go.
class KORVEX_MAP_VIEW_EXPORT MapLineSketch final {
public:
    bool active() const { return active_; }
    // Begins a new line, forgetting any points taken.
    void start();
    void stop();

    void add(const QPointF& map) { points_ << map; }
    void take_back();
    void follow(const std::optional<QPointF>& map) { loose_end_ = map; }

    const QPolygonF& points() const { return points_; }
    // Two points apart make a line.
    bool complete() const { return points_.size() >= 2; }

    void paint(QPainter& painter, const MapTransform& transform) const;

private:
    bool active_ = false;
    QPolygonF points_;
    std::optional<QPointF> loose_end_;
};

}  // namespace korvex::widgets
