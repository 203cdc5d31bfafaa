#include "korvex/utils/nice_step.h"

#include <algorithm>
#include <cmath>

namespace korvex::utils {

double nice_step(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1.0 - 1e-9)) return factor * power;
    }
    return 10.0 * power;
}

std::vector<double> ticks_between(double low, double high, double step, double anchor) {
    if (low > high) std::swap(low, high);
    if (!(step > 0.0) || !std::isfinite(high - low)) return {};
    std::vector<double> ticks;
    for (double n = std::ceil((low - anchor) / step); anchor + n * step <= high; n += 1.0)
        ticks.push_back(anchor + n * step);
    return ticks;
}

}  // namespace korvex::utils
