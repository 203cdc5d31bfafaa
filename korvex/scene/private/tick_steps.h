#pragma once

// Round numbers for annotating a range: the steps of box axes and map grids.

#include <QString>

namespace korvex::scene {

// The smallest step of 1, 2 or 5 times a power of ten that is at least `raw`.
double nice_step(double raw);

// `value` with as many decimals as `step` needs and no more.
QString number_text(double value, double step);

}  // namespace korvex::scene
