#include "korvex/widgets/section_view/section_axis.h"

#include <algorithm>

namespace korvex::widgets {

namespace {

// The piece of `knots` that holds `at` (read through `key`), or the nearest end piece.
template <typename Key>
std::size_t piece(const std::vector<AxisKnot>& knots, double at, Key key) {
    const auto after =
        std::upper_bound(knots.begin() + 1, knots.end() - 1, at,
                         [&](double a, const AxisKnot& knot) { return a < key(knot); });
    return static_cast<std::size_t>(after - knots.begin()) - 1;
}

double across(double at, double from, double to, double from_out, double to_out) {
    return to == from ? from_out : from_out + (at - from) / (to - from) * (to_out - from_out);
}

}  // namespace

double SectionAxis::value_at(double data) const {
    if (knots.size() < 2) return first + (data - 0.5) * step;
    const std::size_t i = piece(knots, data, [](const AxisKnot& k) { return k.data; });
    return across(data, knots[i].data, knots[i + 1].data, knots[i].value, knots[i + 1].value);
}

double SectionAxis::data_at(double value) const {
    if (knots.size() < 2) return (value - first) / step + 0.5;
    const std::size_t i = piece(knots, value, [](const AxisKnot& k) { return k.value; });
    return across(value, knots[i].value, knots[i + 1].value, knots[i].data, knots[i + 1].data);
}

}  // namespace korvex::widgets
