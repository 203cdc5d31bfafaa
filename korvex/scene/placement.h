#pragma once

// Where a visual's own coordinates lie in the scene: x and y through an affine map, z as
// it is. A survey's sections and outline are drawn in its line numbers and placed on the
// map by its grid, so that a rotated survey is a rotated box while its images, ticks and
// picking keep their simple axis-aligned form.
//   Placement placed({x0, dx_per_x, dx_per_y, y0, dy_per_x, dy_per_y});
//   Point3 scene = placed.to_scene({iline, xline, -time});

#include <array>

#include "korvex/scene/pick_ray.h"
#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT Placement final {
public:
    // The identity: own coordinates are the scene's.
    Placement() = default;
    // scene x = c[0] + c[1] x + c[2] y, scene y = c[3] + c[4] x + c[5] y. A map that
    // flattens the plane throws utils::ValueError.
    explicit Placement(const std::array<double, 6>& c);

    Point3 to_scene(const Point3& own) const;
    Point3 to_own(const Point3& scene) const;
    bool is_identity() const;
    // Row-major 4 x 4, as PickRay's matrices.
    PickRay::Matrix matrix() const;

private:
    std::array<double, 6> c_{0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
};

}  // namespace korvex::scene
