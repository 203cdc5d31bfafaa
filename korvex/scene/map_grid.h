#pragma once

// Grid lines at round map X and Y over what a view shows, numbered in map units: eastings
// below its south edge, northings left of its west edge, as on a printed map. It lies just
// above the top of the data, is never picked and never framed. The scene is drawn about a
// local origin, so the grid asks where the scene's (0, 0) lies on the map each time it is
// laid out.
//   MapGrid grid(view, [&] { return std::array<double, 2>{612000.0, 6543000.0}; });
//   grid.fit();   // again whenever what the view shows changes

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class LineVisual;
class TextVisual;
class ViewBox;

class KORVEX_SCENE_EXPORT MapGrid final {
public:
    // The map X/Y of the scene's (0, 0).
    using Origin = std::function<std::array<double, 2>()>;

    MapGrid(ViewBox& view, Origin origin);
    ~MapGrid();
    MapGrid(const MapGrid&) = delete;
    MapGrid& operator=(const MapGrid&) = delete;

    // Lays the grid over the visuals that frame the view; nothing is drawn while there
    // are none.
    void fit();

    // The distance between grid lines, in map units (0 while nothing is drawn).
    double step() const { return step_; }
    // The numbers as written, eastings first.
    QStringList numbers() const;

private:
    ViewBox& view_;
    Origin origin_;
    double step_ = 0.0;
    std::shared_ptr<LineVisual> lines_;
    std::vector<std::shared_ptr<TextVisual>> labels_;
};

}  // namespace korvex::scene
