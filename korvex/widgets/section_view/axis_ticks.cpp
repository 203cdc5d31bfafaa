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
    const double step = utils::nice_step(span / most);
    std::vector<double> ticks;
    for (double n = std::ceil(low / step); n * step <= high; n += 1.0) ticks.push_back(n * step);
    return ticks;
}

}  // namespace korvex::widgets
