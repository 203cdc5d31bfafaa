#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QPolygonF>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/map_sources.h"

namespace korvex::widgets {
class MapView;
}

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

namespace data {
class SeismicVolume;
}

// Feeds one map view from the window: the surveys of the open volumes, the inlines and
// crosslines the 3D viewers and the section views show, the point sets and the picks,
// drawn again (once for a burst of changes) whenever one of them changes. A section's
// line dragged on the map moves that section; a section asked for on the map, or an
// arbitrary line drawn on it, opens in a new section view. The place under the mouse goes
// to the window's linked cursor, and the cursor of the other views is marked on the map.
class KORVEX_APP_EXPORT MapViewFeed final : public QObject {
    Q_OBJECT

public:
    MapViewFeed(widgets::MapView& view, const MapSources& sources);

    // Builds the map's scene now rather than with the next burst of changes.
    void refresh();

private:
    void schedule();
    // A volume's sections moving, its survey placed anew on the map, its traces placed anew.
    void watch_volume(host::DataObject* dob);
    void watch_section_views();
    // Tells the linked cursor where the mouse is on the map: the map point, and the survey
    // and lines there.
    void tell_cursor(const std::optional<QPointF>& map);
    void open_section(int survey, const QString& type, int index);
    void move_section(int section, int index);
    // In a section view of the volume whose traces the line crosses most.
    void open_line(const QPolygonF& points);
    // The scale bar in the project's length unit.
    void show_unit();

    widgets::MapView& view_;
    MapSources sources_;
    bool scheduled_ = false;
    // Beside the scene's surveys and sections: what each stands for.
    std::vector<QPointer<data::SeismicVolume>> volumes_;
    std::vector<std::function<void(int)>> movers_;
    std::set<const QObject*> watched_;
};

}  // namespace korvex::app
