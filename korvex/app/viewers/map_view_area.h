#pragma once

#include <QTabWidget>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/map_sources.h"
#include "korvex/app/viewers/map_view_set.h"

namespace korvex::widgets {
class MapView;
}

namespace korvex::app {

class MapViewFeed;

// The map views beside the other views, one per tab, each under its own name; hidden
// while there are none.
class KORVEX_APP_EXPORT MapViewArea final : public QTabWidget, public MapViewSet {
    Q_OBJECT

public:
    explicit MapViewArea(const MapSources& sources, QWidget* parent = nullptr);

    // Opens a map view in a new tab in front. Without a name it gets the next free
    // "Map View <n>".
    widgets::MapView* add_view(const QString& name = QString());
    void close_view(int index);
    widgets::MapView* view(int index) const;
    MapViewFeed* feed(int index) const;

    std::vector<MapViewRecord> map_view_records() const override;
    void close_map_views() override;
    bool restore_map_views(const std::vector<MapViewRecord>& records) override;

private:
    // Shows the area, as wide as a map needs beside the other views.
    void take_room();
    QWidget* make_options_button();
    QString free_name() const;
    void restore_view(const MapViewRecord& record);

    MapSources sources_;
};

}  // namespace korvex::app
