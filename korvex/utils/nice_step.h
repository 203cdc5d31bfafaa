#pragma once

#include <vector>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// The smallest step of 1, 2 or 5 times a power of ten that is at least `raw`: where an
// axis, a grid or a scale puts its round numbers.
KORVEX_UTILS_EXPORT double nice_step(double raw);

// The values between `low` and `high` (either order) that are `anchor` plus a whole number
// of `step`s: where an axis or a grid puts its marks.
KORVEX_UTILS_EXPORT std::vector<double> ticks_between(double low, double high, double step,
                                                      double anchor = 0.0);

}  // namespace korvex::utils
