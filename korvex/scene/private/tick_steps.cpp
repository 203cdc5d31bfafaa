#include "korvex/scene/private/tick_steps.h"

#include <algorithm>
#include <cmath>

namespace korvex::scene {

QString number_text(double value, double step) {
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
    return QString::number(value, 'f', decimals);
}

}  // namespace korvex::scene
