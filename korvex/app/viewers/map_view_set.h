#pragma once

#include <vector>

#include "korvex/app/project/project_snapshot.h"

namespace korvex::app {

// The map views of a session as a project sees them.
class MapViewSet {
public:
    virtual ~MapViewSet() = default;

    // In their order (tabs, left to right).
    virtual std::vector<MapViewRecord> map_view_records() const = 0;
    virtual void close_map_views() = 0;
    // Opens the views of a project; one whose state cannot be used is left out, with the
    // reason logged. Returns whether every view came back.
    virtual bool restore_map_views(const std::vector<MapViewRecord>& records) = 0;
};

}  // namespace korvex::app
