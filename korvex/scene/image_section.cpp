#include "korvex/scene/image_section.h"

#include <cmath>

#include <vtkActor.h>
#include <vtkFloatArray.h>
#include <vtkImageData.h>
#include <vtkLookupTable.h>
#include <vtkPointData.h>
#include <vtkProperty.h>
#include <vtkSmartPointer.h>

#include "korvex/scene/colormap.h"
#include "korvex/scene/private/lookup_table.h"
#include "korvex/scene/private/section_mapper.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

vtkActor* actor(const ImageSection& section) { return VtkAccess::prop_as<vtkActor>(section); }

SectionMapper* mapper(const ImageSection& section) {
    return static_cast<SectionMapper*>(actor(section)->GetMapper());
}

// The samples as stored, flipped so that they run with the world axes: the mapper holds
// the samples it draws.
vtkImageData* image(const ImageSection& section) { return mapper(section)->samples(); }

// World axes (normal, u, v) of a plane normal to `axis`.
std::array<int, 3> plane_axes(char axis) {
    switch (axis) {
        case 'x':
            return {0, 1, 2};
        case 'y':
            return {1, 0, 2};
        case 'z':
            return {2, 0, 1};
        default:
            throw utils::ValueError(
                utils::format("a section lies across 'x', 'y' or 'z', not '{}'", axis)
                    .toStdString());
    }
}

void check_extent(const PlaneExtent& extent) {
    for (double value : {extent.u0, extent.u1, extent.v0, extent.v1}) {
        if (!std::isfinite(value)) throw utils::ValueError("a section's extent must be finite");
    }
}

// Spacing along one in-plane axis; a single sample needs none, several need a length.
double spacing(double first, double last, int samples, const char* axis) {
    if (samples == 1) return 1.0;
    if (first == last) {
        throw utils::ValueError(
            utils::format("a section's extent along {} has zero length", axis).toStdString());
    }
    return std::abs(last - first) / (samples - 1);
}

}  // namespace

ImageSection::ImageSection(std::vector<float> data, int rows, int cols, char axis, double position,
                           const PlaneExtent& extent, const QString& colormap,
                           const std::array<double, 2>& clim)
    : Visual(vtkSmartPointer<vtkActor>::New()),
      axis_(axis),
      position_(position),
      extent_(extent),
      colormap_(colormap),
      clim_(clim) {
    plane_axes(axis);
    check_extent(extent);
    if (!std::isfinite(position)) throw utils::ValueError("a section's position must be finite");
    auto table = make_lookup_table(colormap, clim);
    auto mapper = vtkSmartPointer<SectionMapper>::New();
    mapper->set_colors(table->GetTable());
    mapper->set_clim(clim);
    actor(*this)->SetMapper(mapper);
    // The colour is the section's own, not lit: it reads the same from every side.
    actor(*this)->GetProperty()->LightingOff();
    set_data(data, rows, cols);
}

void ImageSection::set_data(const std::vector<float>& data, int rows, int cols) {
    if (rows < 1 || cols < 1 || data.size() != static_cast<std::size_t>(rows) * cols) {
        throw utils::ValueError(utils::format("a {} x {} section needs {} values, got {}", rows,
                                              cols, static_cast<long long>(rows) * cols,
                                              data.size())
                                    .toStdString());
    }
    spacing(extent_.u0, extent_.u1, cols, "u");
    spacing(extent_.v0, extent_.v1, rows, "v");
    const bool flip_u = extent_.u1 < extent_.u0;
    const bool flip_v = extent_.v1 < extent_.v0;
    auto values = vtkSmartPointer<vtkFloatArray>::New();
    values->SetNumberOfValues(static_cast<vtkIdType>(data.size()));
    float* out = values->GetPointer(0);
    for (int row = 0; row < rows; ++row) {
        const float* in =
            data.data() + static_cast<std::ptrdiff_t>(flip_v ? rows - 1 - row : row) * cols;
        float* line = out + static_cast<std::ptrdiff_t>(row) * cols;
        if (flip_u) {
            std::reverse_copy(in, in + cols, line);
        } else {
            std::copy(in, in + cols, line);
        }
    }
    rows_ = rows;
    cols_ = cols;
    image(*this)->GetPointData()->SetScalars(values);
    place();
}

void ImageSection::set_position(double position) {
    if (!std::isfinite(position)) throw utils::ValueError("a section's position must be finite");
    position_ = position;
    place();
}

void ImageSection::set_extent(const PlaneExtent& extent) {
    check_extent(extent);
    spacing(extent.u0, extent.u1, cols_, "u");
    spacing(extent.v0, extent.v1, rows_, "v");
    // The stored samples follow the old orientation: take them out in array order first.
    const std::vector<float> data = array_data();
    extent_ = extent;
    set_data(data, rows_, cols_);
}

std::vector<float> ImageSection::array_data() const {
    const auto* values = static_cast<vtkFloatArray*>(image(*this)->GetPointData()->GetScalars());
    const bool flip_u = extent_.u1 < extent_.u0;
    const bool flip_v = extent_.v1 < extent_.v0;
    std::vector<float> data(static_cast<std::size_t>(rows_) * cols_);
    for (int row = 0; row < rows_; ++row) {
        for (int col = 0; col < cols_; ++col) {
            const int stored_row = flip_v ? rows_ - 1 - row : row;
            const int stored_col = flip_u ? cols_ - 1 - col : col;
            data[static_cast<std::size_t>(row) * cols_ + col] =
                values->GetValue(static_cast<vtkIdType>(stored_row) * cols_ + stored_col);
        }
    }
    return data;
}

void ImageSection::set_colormap(const QString& colormap) {
    mapper(*this)->set_colors(make_lookup_table(colormap, clim_)->GetTable());
    colormap_ = colormap;
    update();
}

void ImageSection::set_clim(const std::array<double, 2>& clim) {
    make_lookup_table(colormap_, clim);  // validates the limit
    mapper(*this)->set_clim(clim);
    clim_ = clim;
    update();
}

void ImageSection::set_opacity(double opacity) {
    if (!(opacity >= 0.0 && opacity <= 1.0))
        throw utils::ValueError("a section's opacity lies between 0 and 1");
    actor(*this)->GetProperty()->SetOpacity(opacity);
    update();
}

double ImageSection::opacity() const { return actor(*this)->GetProperty()->GetOpacity(); }

void ImageSection::place() {
    const auto axes = plane_axes(axis_);
    int dims[3] = {1, 1, 1};
    double origin[3] = {0, 0, 0};
    double step[3] = {1, 1, 1};
    dims[axes[1]] = cols_;
    dims[axes[2]] = rows_;
    origin[axes[0]] = position_;
    origin[axes[1]] = std::min(extent_.u0, extent_.u1);
    origin[axes[2]] = std::min(extent_.v0, extent_.v1);
    step[axes[1]] = spacing(extent_.u0, extent_.u1, cols_, "u");
    step[axes[2]] = spacing(extent_.v0, extent_.v1, rows_, "v");
    image(*this)->SetDimensions(dims);
    image(*this)->SetOrigin(origin);
    image(*this)->SetSpacing(step);
    mapper(*this)->place(axes);
    update();
}

std::optional<float> ImageSection::value_at(const std::array<double, 3>& scene) const {
    const auto axes = plane_axes(axis_);
    const Point3 world = placement().to_own(scene);
    const double* origin = image(*this)->GetOrigin();
    const double* step = image(*this)->GetSpacing();
    const long col = std::lround((world[axes[1]] - origin[axes[1]]) / step[axes[1]]);
    const long row = std::lround((world[axes[2]] - origin[axes[2]]) / step[axes[2]]);
    if (col < 0 || col >= cols_ || row < 0 || row >= rows_) return std::nullopt;
    auto* values = static_cast<vtkFloatArray*>(image(*this)->GetPointData()->GetScalars());
    return values->GetValue(static_cast<vtkIdType>(row) * cols_ + col);
}

std::optional<RayHit> ImageSection::hit(const PickRay& ray) const {
    if (opacity() <= 0.0) return std::nullopt;
    const auto [normal, u, v] = plane_axes(axis_);
    const double across = ray.far()[normal] - ray.near()[normal];
    if (across == 0.0) return std::nullopt;  // seen edge on: drawn as nothing
    const double t = (position_ - ray.near()[normal]) / across;
    if (t < 0.0 || t > 1.0) return std::nullopt;  // outside the drawn depth range
    Point3 point = ray.at(t);
    point[normal] = position_;
    const auto within = [](double value, double a, double b) {
        return value >= std::min(a, b) && value <= std::max(a, b);
    };
    if (!within(point[u], extent_.u0, extent_.u1) || !within(point[v], extent_.v0, extent_.v1))
        return std::nullopt;
    return RayHit{ray.depth_of(point), point};
}

}  // namespace korvex::scene
