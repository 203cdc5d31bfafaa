#include "korvex/scene/pick_ray.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <vtkMatrix4x4.h>

namespace korvex::scene {

namespace {

// Depths closer than this are ties: the depth buffer does not tell them apart.
constexpr double DEPTH_TIE = 1e-6;

PickRay::Clip lerp(const PickRay::Clip& a, const PickRay::Clip& b, double s) {
    PickRay::Clip result{};
    for (std::size_t i = 0; i < 4; ++i) result[i] = a[i] + s * (b[i] - a[i]);
    return result;
}

}  // namespace

bool RayHit::in_front_of(const RayHit& other) const {
    if (std::abs(depth - other.depth) > DEPTH_TIE) return depth < other.depth;
    return over_surfaces && !other.over_surfaces;
}

void keep_front(std::optional<RayHit>& front, const RayHit& hit) {
    if (!front || hit.in_front_of(*front)) front = hit;
}

PickRay::PickRay(const Matrix& view, const Matrix& projection, double z_scale,
                 const Pixel& viewport, const Pixel& pixel)
    : projection_(projection), z_scale_(z_scale), viewport_(viewport), pixel_(pixel) {
    if (!(viewport[0] > 0 && viewport[1] > 0))
        throw std::invalid_argument("a ray needs a viewport to pass through");
    vtkMatrix4x4::Multiply4x4(projection.data(), view.data(), world_to_clip_.data());
    aim();
}

PickRay PickRay::in_own_coordinates(const Matrix& own_to_scene) const {
    // The placement moves x and y alone, so it commutes with the vertical scale.
    PickRay own = *this;
    vtkMatrix4x4::Multiply4x4(world_to_clip_.data(), own_to_scene.data(),
                              own.world_to_clip_.data());
    own.aim();
    return own;
}

void PickRay::aim() {
    if (vtkMatrix4x4::Determinant(world_to_clip_.data()) == 0.0)
        throw std::invalid_argument("a camera without an inverse casts no ray");
    vtkMatrix4x4::Invert(world_to_clip_.data(), clip_to_world_.data());
    const double x = 2.0 * pixel_[0] / viewport_[0] - 1.0;
    const double y = 2.0 * pixel_[1] / viewport_[1] - 1.0;
    near_ = to_world({x, y, -1.0, 1.0});
    far_ = to_world({x, y, 1.0, 1.0});
    near_[2] /= z_scale_;
    far_[2] /= z_scale_;
}

Point3 PickRay::at(double t) const {
    Point3 point{};
    for (std::size_t i = 0; i < 3; ++i) point[i] = near_[i] + t * (far_[i] - near_[i]);
    return point;
}

double PickRay::depth_of(const Point3& point) const {
    const Clip clip = to_clip(point);
    return clip[2] / clip[3];
}

PickRay::Clip PickRay::to_clip(const Point3& scene) const {
    const double world[4] = {scene[0], scene[1], scene[2] * z_scale_, 1.0};
    Clip clip{};
    vtkMatrix4x4::MultiplyPoint(world_to_clip_.data(), world, clip.data());
    return clip;
}

Point3 PickRay::to_world(const Clip& clip) const {
    double world[4];
    vtkMatrix4x4::MultiplyPoint(clip_to_world_.data(), clip.data(), world);
    return {world[0] / world[3], world[1] / world[3], world[2] / world[3]};
}

PickRay::Pixel PickRay::to_display(const Clip& clip) const {
    return {(clip[0] / clip[3] + 1.0) * viewport_[0] / 2.0,
            (clip[1] / clip[3] + 1.0) * viewport_[1] / 2.0};
}

double PickRay::sphere_depth(double centre_depth, double diameter, double off_centre) const {
    // VTK's sprite shader: the sphere's surface, nearer the eye than the sprite by up to
    // its radius at the sprite's depth, in window depth (0 to 1).
    const double p00 = projection_[0];
    const double p22 = projection_[10];
    const bool parallel = projection_[15] != 0.0;
    const double normal_z = std::sqrt(1.0 - off_centre * off_centre);
    const double r = diameter / (viewport_[0] * p00);
    const double window = 0.5 * centre_depth + 0.5;
    double surface = 0.0;
    if (parallel) {
        surface = window + normal_z * p22 * r;
    } else {
        const double s = -0.5 * p22 + 0.5;
        surface = (s - window) / (normal_z * r - 1.0) + s;
    }
    return 2.0 * surface - 1.0;
}

std::optional<RayHit> PickRay::hit_segment(const Point3& a, const Point3& b, double width) const {
    const Clip clip_a = to_clip(a);
    const Clip clip_b = to_clip(b);
    // The part of the segment within the depth range: z >= -w (near) and z <= w (far).
    double first = 0.0, last = 1.0;
    for (const double side : {1.0, -1.0}) {
        const double inside_a = clip_a[3] + side * clip_a[2];
        const double inside_b = clip_b[3] + side * clip_b[2];
        if (inside_a < 0.0 && inside_b < 0.0) return std::nullopt;
        if (inside_a < 0.0) first = std::max(first, inside_a / (inside_a - inside_b));
        if (inside_b < 0.0) last = std::min(last, inside_a / (inside_a - inside_b));
    }
    if (first > last) return std::nullopt;
    const Clip start = lerp(clip_a, clip_b, first);
    const Clip end = lerp(clip_a, clip_b, last);
    if (start[3] <= 0.0 || end[3] <= 0.0) return std::nullopt;
    const Pixel p0 = to_display(start);
    const Pixel p1 = to_display(end);
    const auto s = width <= 1.0 ? across_thin_line(p0, p1) : across_wide_line(p0, p1, width);
    if (!s) return std::nullopt;
    // The screen runs evenly along the line only after the division by w: undo it to find
    // the point of the segment under the pixel. The band shares the line's depth across.
    const double in_clip = *s / end[3] / ((1.0 - *s) / start[3] + *s / end[3]);
    const Clip under = lerp(start, end, in_clip);
    const double on_segment = first + in_clip * (last - first);
    Point3 point{};
    for (std::size_t i = 0; i < 3; ++i) point[i] = a[i] + on_segment * (b[i] - a[i]);
    return RayHit{under[2] / under[3], point, true};
}

std::optional<double> PickRay::across_thin_line(const Pixel& p0, const Pixel& p1) const {
    // OpenGL's diamond exit rule: a pixel is drawn when the line passes through the
    // diamond around its centre, unless the line ends inside it.
    const auto from_centre = [this](const Pixel& p) {
        return std::abs(p[0] - pixel_[0]) + std::abs(p[1] - pixel_[1]);
    };
    if (from_centre(p1) < 0.5) return std::nullopt;
    const Pixel step{p1[0] - p0[0], p1[1] - p0[1]};
    const auto at = [&](double s) { return Pixel{p0[0] + s * step[0], p0[1] + s * step[1]}; };
    // The distance to the centre is convex along the line: its least value lies at an
    // end or where the line crosses the centre's row or column.
    double nearest = 0.0;
    for (const int axis : {0, 1}) {
        if (step[axis] == 0.0) continue;
        const double s = std::clamp((pixel_[axis] - p0[axis]) / step[axis], 0.0, 1.0);
        if (from_centre(at(s)) < from_centre(at(nearest))) nearest = s;
    }
    if (from_centre(at(1.0)) < from_centre(at(nearest))) nearest = 1.0;
    if (from_centre(at(nearest)) >= 0.5) return std::nullopt;
    return nearest;
}

std::optional<double> PickRay::across_wide_line(const Pixel& p0, const Pixel& p1,
                                                double width) const {
    // VTK's geometry shader widens the line along its normal in normalised device
    // coordinates, which is not the screen's normal in a window that is not square: the
    // band is a parallelogram, `half` of its width each side.
    const Pixel along_line{p1[0] - p0[0], p1[1] - p0[1]};
    const double nx = -along_line[1] / viewport_[1];
    const double ny = along_line[0] / viewport_[0];
    const double length = std::hypot(nx, ny);
    if (length == 0.0) return std::nullopt;  // seen end on: drawn as nothing
    const Pixel half{width / 2.0 * nx / length, width / 2.0 * ny / length};
    // The pixel as p0 + s * along_line + u * half: on the line for s in [0, 1], |u| <= 1.
    const double det = along_line[0] * half[1] - along_line[1] * half[0];
    const double qx = pixel_[0] - p0[0];
    const double qy = pixel_[1] - p0[1];
    const double s = (qx * half[1] - qy * half[0]) / det;
    const double u = (along_line[0] * qy - along_line[1] * qx) / det;
    if (s < 0.0 || s > 1.0 || std::abs(u) > 1.0) return std::nullopt;
    return s;
}

}  // namespace korvex::scene
