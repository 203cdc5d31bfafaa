#include "korvex/scene/line_visual.h"

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkSmartPointer.h>
#include <vtkUnsignedCharArray.h>

#include "korvex/scene/private/vtk_access.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

vtkActor* actor(const LineVisual& visual) { return VtkAccess::prop_as<vtkActor>(visual); }

// The mapper holds the lines' only reference.
vtkPolyData* lines(const LineVisual& visual) {
    return static_cast<vtkPolyDataMapper*>(actor(visual)->GetMapper())->GetInput();
}

}  // namespace

LineVisual::LineVisual(std::vector<Point3> points, Connect connect, const Color& color,
                       double width)
    : Visual(vtkSmartPointer<vtkActor>::New()), connect_(connect) {
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    mapper->SetInputData(vtkSmartPointer<vtkPolyData>::New());
    mapper->ScalarVisibilityOff();
    actor(*this)->SetMapper(mapper);
    actor(*this)->GetProperty()->LightingOff();
    set_data(std::move(points));
    set_color(color);
    set_width(width);
}

void LineVisual::set_data(std::vector<Point3> points) {
    if (connect_ == Connect::Segments && points.size() % 2 != 0) {
        throw utils::ValueError(
            utils::format("segments need pairs of points, got {} points", points.size())
                .toStdString());
    }
    vtkDataArray* colors = lines(*this)->GetPointData()->GetScalars();
    if (colors && colors->GetNumberOfTuples() != static_cast<vtkIdType>(points.size())) {
        throw utils::ValueError("the number of points must match the per-point colours");
    }
    auto vertices = vtkSmartPointer<vtkPoints>::New();
    vertices->SetNumberOfPoints(static_cast<vtkIdType>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
        vertices->SetPoint(static_cast<vtkIdType>(i), points[i].data());
    }
    auto cells = vtkSmartPointer<vtkCellArray>::New();
    const auto count = static_cast<vtkIdType>(points.size());
    if (connect_ == Connect::Segments) {
        for (vtkIdType i = 0; i + 1 < count; i += 2) {
            const vtkIdType pair[2] = {i, i + 1};
            cells->InsertNextCell(2, pair);
        }
    } else if (count > 1) {
        cells->InsertNextCell(count);
        for (vtkIdType i = 0; i < count; ++i) cells->InsertCellPoint(i);
    }
    lines(*this)->SetPoints(vertices);
    lines(*this)->SetLines(cells);
    points_ = std::move(points);
    update();
}

void LineVisual::set_color(const Color& color) {
    const auto rgba = color.rgba();
    actor(*this)->GetProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor(*this)->GetProperty()->SetOpacity(rgba[3]);
    actor(*this)->GetMapper()->ScalarVisibilityOff();
    update();
}

void LineVisual::set_colors(const std::vector<Color>& colors) {
    if (colors.size() != points_.size()) {
        throw utils::ValueError(
            utils::format("{} colours given for {} points", colors.size(), points_.size())
                .toStdString());
    }
    auto scalars = vtkSmartPointer<vtkUnsignedCharArray>::New();
    scalars->SetNumberOfComponents(4);
    for (const Color& color : colors) {
        const auto c = color.RGBA();
        scalars->InsertNextTuple4(c[0], c[1], c[2], c[3]);
    }
    lines(*this)->GetPointData()->SetScalars(scalars);
    auto* mapper = actor(*this)->GetMapper();
    mapper->ScalarVisibilityOn();
    mapper->SetColorModeToDirectScalars();
    update();
}

void LineVisual::set_width(double width) {
    actor(*this)->GetProperty()->SetLineWidth(static_cast<float>(width));
    update();
}

std::optional<RayHit> LineVisual::hit(const PickRay& ray) const {
    vtkProperty* property = actor(*this)->GetProperty();
    if (property->GetOpacity() <= 0.0) return std::nullopt;  // not drawn: looked through
    const std::size_t step = connect_ == Connect::Segments ? 2 : 1;
    std::optional<RayHit> nearest;
    for (std::size_t i = 0; i + 1 < points_.size(); i += step) {
        const auto hit = ray.hit_segment(points_[i], points_[i + 1], property->GetLineWidth());
        if (hit && (!nearest || hit->in_front_of(*nearest))) nearest = hit;
    }
    return nearest;
}

void LineVisual::apply_background(const Color& shown) {
    if (contrasts_with_background) set_color(shown.contrasting());
}

}  // namespace korvex::scene
