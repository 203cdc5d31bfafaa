#pragma once

#include <QString>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/scene/pick_ray.h"

namespace korvex::scene {
class PointVisual;
}

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

// The markers of the picks, row by row as the Picks dock lists them: one point set per
// viewer. A hundred thousand picks are then one prop for the viewer to draw, fit and take
// down, where a prop each took minutes; and a pick made or deleted changes its own point
// only, where rebuilding the set cost every pick's.
class KORVEX_APP_EXPORT PickMarkers final {
public:
    PickMarkers();
    ~PickMarkers();

    // Puts the marker of the pick in `row` (0 to the number of rows) in `viewer`.
    void insert(int row, widgets::CanvasWidget& viewer, const scene::Point3& position);
    // Takes out the marker of the pick in `row`.
    void remove(int row);
    // Every row's marker at once, each in its viewer: a project's picks.
    void replace(const std::vector<std::pair<widgets::CanvasWidget*, scene::Point3>>& rows);
    // Moves the markers in the viewer named `from` into `to`.
    void move_to_viewer(const QString& from, widgets::CanvasWidget& to);
    void clear();
    // The point set in the viewer named `viewer`; nullptr when it shows no picks.
    const scene::PointVisual* in(const QString& viewer) const;

private:
    struct Marker {
        QString viewer;
        std::size_t point;  // in its viewer's set
    };
    struct Set {
        std::unique_ptr<scene::PointVisual> visual;
        std::vector<Marker*> markers;  // by point
    };

    Set& set_in(widgets::CanvasWidget& viewer, std::vector<scene::Point3> positions);

    std::vector<std::unique_ptr<Marker>> rows_;
    std::map<QString, Set> sets_;
};

}  // namespace korvex::app
