#include "korvex/widgets/section_view/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace korvex::widgets {

std::vector<double> axis_ticks(double low, double high, int most) {
    if (low > high) std::swap(low, high);
    const double span = high - low;
    if (most < 1 || !std::isfinite(span)) return {};
    if (span == 0.0) return {low};
    const double rough = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    std::vector<double> ticks;
    for (double n = std::ceil(low / step); n * step <= high; n += 1.0) ticks.push_back(n * step);
    return ticks;
}

}  // namespace korvex::widgets
