#pragma once

#include <vector>

#include "korvex/widgets/map_view/map_scene.h"
#include "korvex/widgets/map_view/map_view_export.h"

namespace korvex::widgets {

// The line numbers of `lines` to annotate, at least `least` line numbers apart: round
// numbers that are lines of the survey, or every so many lines from the first when the
// survey's numbers are never round (odd numbers stepping by two).
KORVEX_MAP_VIEW_EXPORT std::vector<double> line_ticks(const MapLines& lines, double least);

}  // namespace korvex::widgets
