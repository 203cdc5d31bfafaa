#include "korvex/widgets/map_view/map_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "korvex/utils/nice_step.h"

namespace korvex::widgets {

std::vector<double> line_ticks(const MapLines& lines, double least) {
    const int line_step = std::max(1, std::abs(lines.step));
    // A step of round numbers that only lands on lines of the survey.
    double step = utils::nice_step(std::max(least, double(line_step)));
    if (std::fmod(step, line_step) != 0.0) step = line_step * utils::nice_step(step / line_step);
    const double anchor = lines.first % line_step == 0 ? 0.0 : lines.first;
    return utils::ticks_between(lines.number_at(0), lines.number_at(lines.count - 1), step, anchor);
}

}  // namespace korvex::widgets
