#pragma once

// Round numbers for annotating a range: the labels of box axes and map grids.

#include <QString>

namespace korvex::scene {

// `value` with as many decimals as `step` needs and no more.
QString number_text(double value, double step);

}  // namespace korvex::scene
