#pragma once

#include <vector>

#include "korvex/widgets/section_view/section_view_export.h"

namespace korvex::widgets {

// Round values between `low` and `high` (either order), steps of 1, 2 or 5 times a power
// of ten, at most `most` of them: where an axis puts its numbers.
KORVEX_SECTION_VIEW_EXPORT std::vector<double> axis_ticks(double low, double high, int most);

}  // namespace korvex::widgets
