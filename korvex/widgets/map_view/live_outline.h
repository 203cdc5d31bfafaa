#pragma once

#include <QPainterPath>
#include <functional>

#include "korvex/widgets/map_view/map_view_export.h"

namespace korvex::widgets {

// The edges of the bins of a `columns` x `rows` grid for which `live` is true, as closed
// rings in grid indices (bin (i, j) covers [i-0.5, i+0.5] x [j-0.5, j+0.5]): the outer
// edge and the holes of a survey whose positions do not all hold a trace. Filled with
// the path's winding rule it covers the live bins alone.
KORVEX_MAP_VIEW_EXPORT QPainterPath live_outline(int columns, int rows,
                                                 const std::function<bool(int, int)>& live);

}  // namespace korvex::widgets
