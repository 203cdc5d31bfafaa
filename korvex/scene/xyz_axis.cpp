#include "korvex/scene/xyz_axis.h"

namespace korvex::scene {

namespace {
constexpr double WIDTH = 2.0;
}

XYZAxis::XYZAxis()
    : LineVisual({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}},
                 Connect::Segments, Color(0.0, 0.0, 0.0), WIDTH) {
    const Color red(1, 0, 0), green(0, 1, 0), blue(0, 0, 1);
    set_colors({red, red, green, green, blue, blue});
    frames_view = false;
}

}  // namespace korvex::scene
