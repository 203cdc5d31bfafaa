#include "korvex/scene/private/tick_steps.h"

#include <algorithm>
#include <cmath>

namespace korvex::scene {

double nice_step(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1.0 - 1e-9)) return factor * power;
    }
    return 10.0 * power;
}

QString number_text(double value, double step) {
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
    return QString::number(value, 'f', decimals);
}

}  // namespace korvex::scene
