#include "korvex/scene/point_visual.h"

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkFloatArray.h>
#include <vtkLookupTable.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkSmartPointer.h>

#include <stdexcept>

#include "korvex/scene/colormap.h"
#include "korvex/scene/private/lookup_table.h"
#include "korvex/scene/private/marker_probe.h"
#include "korvex/scene/private/point_index.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

vtkActor* actor(const PointVisual& visual) { return VtkAccess::prop_as<vtkActor>(visual); }

// The mapper holds the points' only reference.
vtkPolyData* points(const PointVisual& visual) {
    return static_cast<vtkPolyDataMapper*>(actor(visual)->GetMapper())->GetInput();
}

}  // namespace

PointVisual::PointVisual(std::vector<Point3> positions, const Color& color, double size)
    : Visual(vtkSmartPointer<vtkActor>::New()) {
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(vtkSmartPointer<vtkPolyData>::New());
    actor(*this)->SetMapper(mapper);
    actor(*this)->GetProperty()->SetRenderPointsAsSpheres(true);
    set_data(std::move(positions));
    set_color(color);
    set_size(size);
}

PointVisual::~PointVisual() = default;

void PointVisual::set_data(std::vector<Point3> positions) {
    vtkDataArray* scalars = points(*this)->GetPointData()->GetScalars();
    if (scalars && scalars->GetNumberOfTuples() != static_cast<vtkIdType>(positions.size())) {
        throw utils::ValueError("the number of points must match the per-point values");
    }
    auto vertices = vtkSmartPointer<vtkPoints>::New();
    auto cells = vtkSmartPointer<vtkCellArray>::New();
    vertices->SetNumberOfPoints(static_cast<vtkIdType>(positions.size()));
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const auto id = static_cast<vtkIdType>(i);
        vertices->SetPoint(id, positions[i].data());
        cells->InsertNextCell(1, &id);
    }
    points(*this)->SetPoints(vertices);
    points(*this)->SetVerts(cells);
    positions_ = std::move(positions);
    changed();
}

void PointVisual::add_point(const Point3& position) {
    refuse_scalars();
    vtkPolyData* data = points(*this);
    const vtkIdType id = data->GetPoints()->InsertNextPoint(position.data());
    data->GetVerts()->InsertNextCell(1, &id);
    positions_.push_back(position);
    changed();
}

void PointVisual::remove_point(std::size_t index) {
    refuse_scalars();
    if (index >= positions_.size()) throw std::out_of_range("no such point");
    vtkPolyData* data = points(*this);
    const auto last = static_cast<vtkIdType>(positions_.size() - 1);
    // Vertex cell i draws point i: dropping the last cell leaves the others right.
    data->GetPoints()->SetPoint(static_cast<vtkIdType>(index), positions_.back().data());
    data->GetPoints()->SetNumberOfPoints(last);
    data->GetVerts()->ResizeExact(last, last);
    positions_[index] = positions_.back();
    positions_.pop_back();
    changed();
}

void PointVisual::refuse_scalars() const {
    if (points(*this)->GetPointData()->GetScalars())
        throw utils::ValueError("points coloured by their values are replaced whole");
}

void PointVisual::changed() {
    vtkPolyData* data = points(*this);
    data->GetPoints()->Modified();
    data->GetVerts()->Modified();
    data->Modified();
    index_.reset();
    update();
}

void PointVisual::set_color(const Color& color) {
    points(*this)->GetPointData()->SetScalars(nullptr);
    actor(*this)->GetMapper()->ScalarVisibilityOff();
    actor(*this)->ForceOpaqueOff();
    const auto rgba = color.rgba();
    actor(*this)->GetProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor(*this)->GetProperty()->SetOpacity(rgba[3]);
    update();
}

void PointVisual::set_scalars(const std::vector<float>& values, const QString& colormap,
                              const std::array<double, 2>& clim) {
    if (values.size() != positions_.size()) {
        throw utils::ValueError(
            utils::format("{} values given for {} points", values.size(), positions_.size())
                .toStdString());
    }
    make_lookup_table(colormap, clim);  // validates both before anything changes
    auto scalars = vtkSmartPointer<vtkFloatArray>::New();
    scalars->SetNumberOfValues(static_cast<vtkIdType>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        scalars->SetValue(static_cast<vtkIdType>(i), values[i]);
    points(*this)->GetPointData()->SetScalars(scalars);
    colormap_ = colormap;
    clim_ = clim;
    use_lookup_table();
}

void PointVisual::set_colormap(const QString& colormap) {
    make_lookup_table(colormap, clim_);
    colormap_ = colormap;
    use_lookup_table();
}

void PointVisual::set_clim(const std::array<double, 2>& clim) {
    make_lookup_table(colormap_, clim);
    clim_ = clim;
    use_lookup_table();
}

void PointVisual::use_lookup_table() {
    if (!points(*this)->GetPointData()->GetScalars()) return;  // one colour: nothing to map
    auto* mapper = actor(*this)->GetMapper();
    mapper->SetLookupTable(make_lookup_table(colormap_, clim_));
    mapper->SetScalarRange(clim_[0], clim_[1]);
    mapper->SetColorModeToMapScalars();
    mapper->ScalarVisibilityOn();
    // The table's colours are opaque; only its NaN colour is not, and that alone would
    // send the points to the translucent pass, where sprite points are lost.
    actor(*this)->ForceOpaqueOn();
    update();
}

std::optional<RayHit> PointVisual::hit(const PickRay& ray) const {
    vtkProperty* property = actor(*this)->GetProperty();
    if (property->GetOpacity() <= 0.0) return std::nullopt;  // not drawn: looked through
    if (!index_) index_ = std::make_unique<PointIndex>(positions_);
    return index_->front_hit(positions_, MarkerProbe(ray, property->GetPointSize()));
}

void PointVisual::set_size(double size) {
    actor(*this)->GetProperty()->SetPointSize(static_cast<float>(size));
    update();
}

}  // namespace korvex::scene
