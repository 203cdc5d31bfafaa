#pragma once

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// The smallest step of 1, 2 or 5 times a power of ten that is at least `raw`: where an
// axis, a grid or a scale puts its round numbers.
KORVEX_UTILS_EXPORT double nice_step(double raw);

}  // namespace korvex::utils
