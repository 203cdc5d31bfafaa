#pragma once

#include <optional>

namespace korvex::scene {
class Item;
}

namespace korvex::widgets {

// The vertical exaggeration that draws the item's height as half its larger horizontal
// side, to two significant digits (a factor a user can read and type again). The item's
// extent is measured as drawn under `current`. Absent when the item has no visual that
// frames the view with both a width and a height.
std::optional<double> fitting_z_scale(const scene::Item& item, double current);

}  // namespace korvex::widgets
