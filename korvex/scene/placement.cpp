#include "korvex/scene/placement.h"

#include <cmath>

#include "korvex/utils/errors.h"

namespace korvex::scene {

Placement::Placement(const std::array<double, 6>& c) : c_(c) {
    const double jacobian = c[1] * c[5] - c[2] * c[4];
    if (!std::isfinite(jacobian) || jacobian == 0.0 || !std::isfinite(c[0]) || !std::isfinite(c[3]))
        throw utils::ValueError("a placement must keep the plane a plane");
}

Point3 Placement::to_scene(const Point3& own) const {
    return {c_[0] + c_[1] * own[0] + c_[2] * own[1], c_[3] + c_[4] * own[0] + c_[5] * own[1],
            own[2]};
}

Point3 Placement::to_own(const Point3& scene) const {
    const double dx = scene[0] - c_[0], dy = scene[1] - c_[3];
    const double jacobian = c_[1] * c_[5] - c_[2] * c_[4];
    return {(c_[5] * dx - c_[2] * dy) / jacobian, (c_[1] * dy - c_[4] * dx) / jacobian, scene[2]};
}

bool Placement::is_identity() const { return c_ == Placement().c_; }

PickRay::Matrix Placement::matrix() const {
    return {c_[1], c_[2], 0.0, c_[0], c_[4], c_[5], 0.0, c_[3],
            0.0,   0.0,   1.0, 0.0,   0.0,   0.0,   0.0, 1.0};
}

}  // namespace korvex::scene
