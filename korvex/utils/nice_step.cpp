#include "korvex/utils/nice_step.h"

#include <cmath>

namespace korvex::utils {

double nice_step(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1.0 - 1e-9)) return factor * power;
    }
    return 10.0 * power;
}

}  // namespace korvex::utils
