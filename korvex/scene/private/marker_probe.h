#pragma once

// One pixel's ray against round points of one size, drawn as spheres facing the eye: set up
// once, then asked about many points, or about a box of them at once so that a point set's
// index can pass over whole groups the pixel cannot fall on.
//   MarkerProbe probe(ray, 6.0);
//   if (probe.may_hit_within(low, high)) hit = probe.hit(centre);

#include <array>
#include <optional>

#include "korvex/scene/pick_ray.h"
#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT MarkerProbe {
public:
    MarkerProbe(const PickRay& ray, double diameter);

    // Whether the point at `centre` is drawn on the pixel, and how deep; the hit is the
    // point itself. A point with a coordinate that is not finite is never drawn.
    std::optional<RayHit> hit(const Point3& centre) const;
    // False only when no point with its centre in the box from `low` to `high` can be
    // drawn on the pixel.
    bool may_hit_within(const Point3& low, const Point3& high) const;

private:
    // An affine function of a point's scene coordinates: row[0..2] . p + row[3].
    using Row = std::array<double, 4>;

    const PickRay& ray_;
    double diameter_;
    double radius_;
    // Where a point is drawn relative to the pixel, times its clip w: across, up, and w.
    Row across_{}, up_{}, w_{};
    // The four sides of the pyramid from the eye around the pixel that holds every
    // point drawn on it: a point lies outside a side where its row is positive.
    std::array<Row, 4> sides_{};
};

}  // namespace korvex::scene
