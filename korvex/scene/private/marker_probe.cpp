#include "korvex/scene/private/marker_probe.h"

#include <cmath>

namespace korvex::scene {

namespace {

double value_at(const std::array<double, 4>& row, const Point3& p) {
    return row[0] * p[0] + row[1] * p[1] + row[2] * p[2] + row[3];
}

// The least value of `row` over the box: an affine function is least at a corner.
double least_within(const std::array<double, 4>& row, const Point3& low, const Point3& high) {
    double least = row[3];
    for (std::size_t i = 0; i < 3; ++i) least += row[i] * (row[i] > 0.0 ? low[i] : high[i]);
    return least;
}

}  // namespace

MarkerProbe::MarkerProbe(const PickRay& ray, double diameter)
    : ray_(ray), diameter_(diameter), radius_(diameter / 2.0) {
    // Each point costs three rows of the projection, taken relative to the pixel so that
    // the test needs no division. A point is on the pixel when its distance from it, in
    // pixels, is at most the radius: (dx / w)^2 + (dy / w)^2 <= r^2, with w > 0 in front
    // of the eye.
    const double half_width = ray.viewport_[0] / 2.0;
    const double half_height = ray.viewport_[1] / 2.0;
    for (std::size_t column = 0; column < 4; ++column) {
        const double scale = column == 2 ? ray.z_scale_ : 1.0;
        const double* m = ray.world_to_clip_.data() + column;
        w_[column] = m[12] * scale;
        across_[column] = (m[0] * half_width + m[12] * (half_width - ray.pixel_[0])) * scale;
        up_[column] = (m[4] * half_height + m[12] * (half_height - ray.pixel_[1])) * scale;
    }
    // The pyramid is the square around the disc, widened by half a pixel: the per-point
    // test rounds otherwise than a box's corners do, and a box must never be passed over
    // for a point that test would take.
    const double half_side = std::abs(radius_) + 0.5;
    for (std::size_t i = 0; i < 4; ++i) {
        sides_[0][i] = across_[i] - half_side * w_[i];
        sides_[1][i] = -across_[i] - half_side * w_[i];
        sides_[2][i] = up_[i] - half_side * w_[i];
        sides_[3][i] = -up_[i] - half_side * w_[i];
    }
}

std::optional<RayHit> MarkerProbe::hit(const Point3& centre) const {
    const double pw = value_at(w_, centre);
    const double px = value_at(across_, centre);
    const double py = value_at(up_, centre);
    // Written so that a coordinate that is not a number fails every comparison.
    if (!(pw > 0.0 && px * px + py * py <= radius_ * radius_ * pw * pw)) return std::nullopt;
    if (!(std::isfinite(centre[0]) && std::isfinite(centre[1]) && std::isfinite(centre[2])))
        return std::nullopt;
    const PickRay::Clip clip = ray_.to_clip(centre);
    // A point outside the depth range is clipped whole.
    if (!(clip[2] >= -clip[3] && clip[2] <= clip[3])) return std::nullopt;
    const double off_centre = std::hypot(px, py) / (radius_ * pw);
    return RayHit{ray_.sphere_depth(clip[2] / clip[3], diameter_, off_centre), centre, true};
}

bool MarkerProbe::may_hit_within(const Point3& low, const Point3& high) const {
    // A point outside a side is either behind the eye (w <= 0) or farther from the pixel
    // than the radius along one screen axis: the box can be passed over when it lies
    // wholly outside one side.
    for (const Row& side : sides_) {
        if (least_within(side, low, high) > 0.0) return false;
    }
    return true;
}

}  // namespace korvex::scene
