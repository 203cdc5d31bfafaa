#include "korvex/widgets/cube_viewer/vertical_scale.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>

#include "korvex/scene/item.h"
#include "korvex/scene/visual.h"

namespace korvex::widgets {

namespace {

double two_significant_digits(double factor) {
    const double unit = std::pow(10.0, std::floor(std::log10(factor)) - 1.0);
    return std::round(factor / unit) * unit;
}

}  // namespace

std::optional<double> fitting_z_scale(const scene::Item& item, double current) {
    std::array<double, 6> all{DBL_MAX, -DBL_MAX, DBL_MAX, -DBL_MAX, DBL_MAX, -DBL_MAX};
    for (const auto& visual : item.visuals()) {
        if (!visual->frames_view) continue;  // labels, colour bars: not the data's extent
        const auto b = visual->bounds();
        if (!(b[0] <= b[1] && b[2] <= b[3] && b[4] <= b[5])) continue;  // nothing drawn yet
        for (int axis = 0; axis < 3; ++axis) {
            all[2 * axis] = std::min(all[2 * axis], b[2 * axis]);
            all[2 * axis + 1] = std::max(all[2 * axis + 1], b[2 * axis + 1]);
        }
    }
    const double width = std::max(all[1] - all[0], all[3] - all[2]);
    const double height = (all[5] - all[4]) / current;
    if (!(width > 0.0 && height > 0.0 && std::isfinite(width / height))) return std::nullopt;
    return two_significant_digits(0.5 * width / height);
}

}  // namespace korvex::widgets
