#pragma once

// The line of sight through one pixel, with the projection that drew the frame: what a
// visual needs to say whether it is drawn at that pixel, how deep, and where. It runs from
// the near plane (t = 0) to the far plane (t = 1); points are in scene coordinates, z
// before the view's vertical scale.
//   PickRay ray = view.ray_through(pixel);
//   std::optional<RayHit> hit = ray.hit_segment(a, b, 2.0);   // a line of 2 pixels
// "Drawn at the pixel" means what the rasteriser does: a surface covers the pixel's centre,
// a point's disc or a line's band of its width (device pixels) contains it. Depths are
// the depth buffer's, so the front hit is the one the frame shows.

#include <array>
#include <optional>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

using Point3 = std::array<double, 3>;

// Where a ray meets a visual.
struct RayHit {
    // As the depth buffer holds it: -1 on the near plane, 1 on the far one.
    double depth = 0.0;
    // Scene coordinates of what is drawn there.
    Point3 point{};
    // Lines are drawn over a surface they lie on.
    bool over_surfaces = false;

    // Whether this hit hides `other`.
    bool in_front_of(const RayHit& other) const;
};

// Keeps in `front` what the frame shows of hits offered in drawing order: a later hit
// replaces the front one only when it hides it.
KORVEX_SCENE_EXPORT void keep_front(std::optional<RayHit>& front, const RayHit& hit);

class MarkerProbe;

class KORVEX_SCENE_EXPORT PickRay {
public:
    // Homogeneous coordinates before the perspective division.
    using Clip = std::array<double, 4>;
    // Row-major 4 x 4.
    using Matrix = std::array<double, 16>;
    using Pixel = std::array<double, 2>;

    // The camera's `view` (drawn, vertically scaled points to the eye's frame) and
    // `projection` (the eye's frame to clip coordinates); `viewport` is the drawing's size
    // and `pixel` the pixel's centre, both in device pixels (origin bottom left). Throws
    // std::invalid_argument when the camera has no inverse or the viewport is empty.
    PickRay(const Matrix& view, const Matrix& projection, double z_scale, const Pixel& viewport,
            const Pixel& pixel);

    // The same line of sight in the coordinates of a visual placed by `own_to_scene`
    // (row-major 4 x 4 acting on x and y alone): depths stay the frame's.
    PickRay in_own_coordinates(const Matrix& own_to_scene) const;

    const Point3& near() const { return near_; }
    const Point3& far() const { return far_; }
    Point3 at(double t) const;
    // The depth at which `point` is drawn.
    double depth_of(const Point3& point) const;

    // A line of `width` pixels from `a` to `b`; the hit is the point of the line under
    // the pixel.
    std::optional<RayHit> hit_segment(const Point3& a, const Point3& b, double width) const;

private:
    // It tests markers with the ray's own projection and depths.
    friend class MarkerProbe;

    // Near and far points through the pixel, from world_to_clip_.
    void aim();
    Clip to_clip(const Point3& scene) const;
    // The drawn point at clip coordinates `clip`, unscaled.
    Point3 to_world(const Clip& clip) const;
    Pixel to_display(const Clip& clip) const;
    // Where along the line from p0 to p1 (display coordinates) the pixel is drawn, if it
    // is, for lines of one pixel and for wider ones.
    std::optional<double> across_thin_line(const Pixel& p0, const Pixel& p1) const;
    std::optional<double> across_wide_line(const Pixel& p0, const Pixel& p1, double width) const;
    // The depth of a point sprite's sphere at the pixel, `off_centre` its share of the
    // radius away from the sprite's centre drawn at `centre_depth`.
    double sphere_depth(double centre_depth, double diameter, double off_centre) const;

    Matrix projection_;
    Matrix world_to_clip_{};
    Matrix clip_to_world_{};
    double z_scale_;
    Pixel viewport_;
    Pixel pixel_;
    Point3 near_{};
    Point3 far_{};
};

}  // namespace korvex::scene
