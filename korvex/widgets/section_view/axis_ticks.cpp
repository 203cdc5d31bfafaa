#include "korvex/widgets/section_view/axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "korvex/utils/nice_step.h"

namespace korvex::widgets {

std::vector<double> axis_ticks(double low, double high, int most) {
    if (low > high) std::swap(low, high);
    const double span = high - low;
    if (most < 1 || !std::isfinite(span)) return {};
    if (span == 0.0) return {low};
    return utils::ticks_between(low, high, utils::nice_step(span / most));
}

}  // namespace korvex::widgets
