#pragma once

// Lines through points: one polyline ("strip") or separate segments between
// consecutive pairs of points ("segments"), in one colour or one colour per point.
//   LineVisual lines(points, LineVisual::Connect::Segments, Color("black"), 2.0);
//   lines.set_data(new_points);   // same connection, same colouring rule

#include <array>
#include <vector>

#include "korvex/scene/color.h"
#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT LineVisual : public Visual {
public:
    enum class Connect { Strip, Segments };

    // Segments need an even number of points (utils::ValueError otherwise).
    LineVisual(std::vector<Point3> points, Connect connect, const Color& color, double width = 1.0);

    // Replaces the points; with per-point colours the count must not change.
    void set_data(std::vector<Point3> points);
    void set_color(const Color& color);
    void apply_background(const Color& shown) override;
    // One colour per point (utils::ValueError on a count mismatch).
    void set_colors(const std::vector<Color>& colors);
    void set_width(double width);

    std::size_t point_count() const { return points_.size(); }

    // The pixel is on a line when it lies in the band of the line's width drawn there.
    std::optional<RayHit> hit(const PickRay& ray) const override;

protected:
    const char* type_name() const override { return "LineVisual"; }

private:
    Connect connect_;
    // Kept for picking: the drawn copy sits in VTK's arrays.
    std::vector<Point3> points_;
};

}  // namespace korvex::scene
