#pragma once

#include <QString>
#include <map>
#include <memory>
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

// The markers of the picks: one point set per viewer. A hundred thousand picks are then
// one prop for the viewer to draw, fit and take down, where a prop each took minutes.
class KORVEX_APP_EXPORT PickMarkers final {
public:
    PickMarkers();
    ~PickMarkers();

    // Makes `viewer` show markers at `positions` (scene points before the vertical
    // scale) and nothing else; with none, its point set goes.
    void show(widgets::CanvasWidget& viewer, std::vector<scene::Point3> positions);
    // After picks were deleted: the markers left in the viewer named `viewer`.
    void reduce(const QString& viewer, std::vector<scene::Point3> positions);
    // Takes the markers out of the viewer named `viewer`.
    void remove(const QString& viewer);
    void clear();
    // The point set in the viewer named `viewer`; nullptr when it shows no picks.
    const scene::PointVisual* in(const QString& viewer) const;

private:
    std::map<QString, std::unique_ptr<scene::PointVisual>> sets_;
};

}  // namespace korvex::app
