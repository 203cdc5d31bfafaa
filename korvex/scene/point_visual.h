#pragma once

// Round markers at points, in one colour or coloured per point by a scalar through a
// colormap and colour limit (well picks, horizons' control points, ...).
//   PointVisual points(positions, Color("black"), 6.0);
//   points.set_scalars(values, "jet", {0.0, 100.0});
//   points.set_clim({0.0, 50.0});        // recolours in place

#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "korvex/scene/color.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

class PointIndex;

class KORVEX_SCENE_EXPORT PointVisual : public Visual {
public:
    PointVisual(std::vector<Point3> positions, const Color& color, double size = 5.0);
    ~PointVisual() override;

    // Replaces the positions; per-point scalars must keep their count.
    void set_data(std::vector<Point3> positions);
    // One point more or less, the others left as they are: a set of many points that
    // changes one at a time. Not for points coloured each by its value (utils::ValueError).
    void add_point(const Point3& position);
    // The last point takes the place of point `index`.
    void remove_point(std::size_t index);
    // One colour for all points (drops per-point scalars).
    void set_color(const Color& color);
    // Colours each point by its value (utils::ValueError on a count mismatch, an unknown
    // colormap or a bad limit).
    void set_scalars(const std::vector<float>& values, const QString& colormap,
                     const std::array<double, 2>& clim);
    void set_colormap(const QString& colormap);
    void set_clim(const std::array<double, 2>& clim);
    // Marker diameter in pixels.
    void set_size(double size);

    std::size_t point_count() const { return positions_.size(); }
    const std::vector<Point3>& positions() const { return positions_; }

    // The pixel is on a point when it lies in the point's disc; the nearest such point
    // wins, and the hit is the point itself.
    std::optional<RayHit> hit(const PickRay& ray) const override;

protected:
    const char* type_name() const override { return "PointVisual"; }

private:
    void use_lookup_table();
    void refuse_scalars() const;
    void changed();

    QString colormap_ = "jet";
    std::array<double, 2> clim_{0.0, 1.0};
    // Kept for picking: the drawn copy sits in VTK's arrays. The index, made at the first
    // pick after the positions change (sets that are replaced often, or never picked,
    // never pay for it), puts them in an order of its own.
    mutable std::vector<Point3> positions_;
    mutable std::unique_ptr<PointIndex> index_;
};

}  // namespace korvex::scene
