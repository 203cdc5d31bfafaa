#pragma once

// A 2-D float array drawn on an axis-aligned plane, coloured through a colormap and
// colour limit: the visual of a seismic section.
//
// The plane is normal to `axis` ('x', 'y' or 'z') at `position`, in the section's own
// coordinates, which its placement (Visual::set_placement) may turn and stretch in the
// scene: a survey's section is drawn in line numbers and placed on the map. Its two in-plane
// axes (u, v) are (y, z) for 'x', (x, z) for 'y' and (x, y) for 'z'. The array is
// row-major, `rows` x `cols`: column index along u, row index along v. The extent
// gives the world coordinates of the first and last sample centres along u and v;
// a decreasing range (u1 < u0, e.g. depth growing downwards) flips the array.
//
//   ImageSection section(amplitudes, nz, nx, 'y', y_of_inline, {x0, x1, z_top, z_bottom},
//                        "seismic", {-clip, clip});
//   section.set_position(y_of_next_inline);   // move the plane
//   section.set_data(next_amplitudes, nz, nx);
//   section.set_clim({-2 * clip, 2 * clip});
//   std::optional<float> a = section.value_at(*canvas.pick_point(pos));

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

struct PlaneExtent {
    double u0 = 0.0, u1 = 1.0, v0 = 0.0, v1 = 1.0;
};

class KORVEX_SCENE_EXPORT ImageSection : public Visual {
public:
    // Throws utils::ValueError on a size mismatch, an unknown axis, an empty or
    // zero-length extent, an unknown colormap or a bad limit.
    ImageSection(std::vector<float> data, int rows, int cols, char axis, double position,
                 const PlaneExtent& extent, const QString& colormap = "seismic",
                 const std::array<double, 2>& clim = {-1.0, 1.0});

    void set_data(const std::vector<float>& data, int rows, int cols);
    void set_position(double position);
    void set_extent(const PlaneExtent& extent);
    void set_colormap(const QString& colormap);
    void set_clim(const std::array<double, 2>& clim);
    // 0 (invisible) to 1 (opaque); outside throws utils::ValueError.
    void set_opacity(double opacity);

    char axis() const { return axis_; }
    double position() const { return position_; }
    PlaneExtent extent() const { return extent_; }
    QString colormap() const { return colormap_; }
    std::array<double, 2> clim() const { return clim_; }
    double opacity() const;
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // The samples as given: row-major, rows x cols.
    std::vector<float> array_data() const;

    // The sample nearest to a scene point in the plane (the position along the normal
    // is ignored); absent outside the section.
    std::optional<float> value_at(const std::array<double, 3>& scene) const;

    // The ray's point on the plane (in own coordinates), when it falls within the extent (edges
    // included). A section of opacity 0 is not drawn: the user sees and points at what lies behind.
    std::optional<RayHit> hit(const PickRay& ray) const override;

protected:
    const char* type_name() const override { return "ImageSection"; }

private:
    // Places the image (origin, spacing, dimensions) from the plane and extent.
    void place();

    char axis_;
    double position_;
    PlaneExtent extent_;
    QString colormap_;
    std::array<double, 2> clim_;
    int rows_ = 0;
    int cols_ = 0;
};

}  // namespace korvex::scene
