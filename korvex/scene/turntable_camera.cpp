#include "korvex/scene/turntable_camera.h"

#include <algorithm>
#include <cmath>

#include <vtkCamera.h>
#include <vtkMath.h>
#include <vtkRenderer.h>

#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/visual.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

constexpr double ORBIT_DEGREES_PER_PIXEL = 0.5;
constexpr double FOV_DEGREES_PER_PIXEL = 0.2;
// VTK refuses wider view angles; 180 would put the eye on the centre.
constexpr double WIDEST_VIEW_ANGLE = 179.0;

double radians(double degrees) { return vtkMath::RadiansFromDegrees(degrees); }

struct Frame {
    std::array<double, 3> back;  // from the centre towards the eye
    std::array<double, 3> up;
    std::array<double, 3> right;
};

Frame frame(double azimuth, double elevation) {
    const double az = radians(azimuth);
    const double el = radians(elevation);
    return {{std::sin(az) * std::cos(el), -std::cos(az) * std::cos(el), std::sin(el)},
            {-std::sin(az) * std::sin(el), std::cos(az) * std::sin(el), std::cos(el)},
            {std::cos(az), std::sin(az), 0.0}};
}

}  // namespace

TurntableCamera::TurntableCamera(ViewBox& view) : view_(view) { apply(); }

void TurntableCamera::set_azimuth(double degrees) {
    if (!std::isfinite(degrees)) throw utils::ValueError("azimuth must be a finite number");
    azimuth_ = degrees;
    changed();
}

void TurntableCamera::set_elevation(double degrees) {
    if (!std::isfinite(degrees)) throw utils::ValueError("elevation must be a finite number");
    elevation_ = degrees;
    changed();
}

void TurntableCamera::set_fov(double degrees) {
    if (!(degrees >= 0.0 && degrees <= 180.0)) {
        throw utils::ValueError(
            utils::format("fov must lie in [0, 180], got {}", degrees).toStdString());
    }
    fov_ = degrees;
    changed();
}

void TurntableCamera::set_scale_factor(double value) {
    if (!(std::isfinite(value) && value > 0.0)) {
        throw utils::ValueError(
            utils::format("scale_factor must be a positive number, got {}", value).toStdString());
    }
    scale_factor_ = value;
    changed();
}

void TurntableCamera::set_center(const std::array<double, 3>& center) {
    if (!std::all_of(center.begin(), center.end(), [](double v) { return std::isfinite(v); })) {
        throw utils::ValueError("center must be three finite numbers");
    }
    center_ = center;
    changed();
}

std::array<double, 6> TurntableCamera::fitted_bounds() const {
    const auto merge = [this](bool framing_only) {
        std::array<double, 6> all{VTK_DOUBLE_MAX,  -VTK_DOUBLE_MAX, VTK_DOUBLE_MAX,
                                  -VTK_DOUBLE_MAX, VTK_DOUBLE_MAX,  -VTK_DOUBLE_MAX};
        for (const Visual* visual : view_.children()) {
            if (!visual->visible() || (framing_only && !visual->frames_view)) continue;
            auto b = visual->bounds();
            if (!vtkMath::AreBoundsInitialized(b.data())) continue;
            for (int axis = 0; axis < 3; ++axis) {
                all[2 * axis] = std::min(all[2 * axis], b[2 * axis]);
                all[2 * axis + 1] = std::max(all[2 * axis + 1], b[2 * axis + 1]);
            }
        }
        return all;
    };
    auto bounds = merge(true);
    return vtkMath::AreBoundsInitialized(bounds.data()) ? bounds : merge(false);
}

void TurntableCamera::set_range(double margin) {
    auto b = fitted_bounds();
    if (!vtkMath::AreBoundsInitialized(b.data())) return;
    double diagonal_squared = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        const double grow = (b[2 * axis + 1] - b[2 * axis]) * margin;
        b[2 * axis] -= grow;
        b[2 * axis + 1] += grow;
        center_[axis] = 0.5 * (b[2 * axis] + b[2 * axis + 1]);
        diagonal_squared += std::pow(b[2 * axis + 1] - b[2 * axis], 2);
    }
    const double diagonal = std::sqrt(diagonal_squared);
    if (diagonal > 0.0) {
        // The box lies within a sphere of this diameter; in perspective the sphere's
        // near side looks larger, so widen the view by 1/cos(fov/2) to keep it whole.
        const double angle = std::min(fov_, WIDEST_VIEW_ANGLE);
        scale_factor_ = fov_ > 0.0 ? diagonal / std::cos(radians(angle / 2.0)) : diagonal;
    }
    changed();
}

void TurntableCamera::orbit(double dx, double dy) {
    azimuth_ -= dx * ORBIT_DEGREES_PER_PIXEL;
    elevation_ = std::clamp(elevation_ - dy * ORBIT_DEGREES_PER_PIXEL, -90.0, 90.0);
    changed();
}

void TurntableCamera::zoom(double factor) {
    if (std::isfinite(factor) && factor > 0.0) set_scale_factor(scale_factor_ * factor);
}

void TurntableCamera::pan(double dx, double dy) {
    // The scene follows the mouse: the centre moves the other way.
    const Frame f = frame(azimuth_, elevation_);
    const double scale = world_per_pixel();
    for (std::size_t i = 0; i < 3; ++i) center_[i] -= (f.right[i] * dx + f.up[i] * dy) * scale;
    changed();
}

void TurntableCamera::change_fov(double dy) {
    fov_ = std::clamp(fov_ + dy * FOV_DEGREES_PER_PIXEL, 0.0, WIDEST_VIEW_ANGLE);
    changed();
}

void TurntableCamera::apply() const {
    vtkCamera* camera = VtkAccess::camera(*this);
    const int* size = VtkAccess::renderer(view_)->GetSize();
    const bool taller = size[1] > size[0] && size[0] > 0;
    const Frame f = frame(azimuth_, elevation_);
    double distance = 0.0;
    if (fov_ > 0.0) {
        const double angle = std::min(fov_, WIDEST_VIEW_ANGLE);
        distance = scale_factor_ / (2.0 * std::tan(radians(angle / 2.0)));
        camera->SetParallelProjection(false);
        // VTK's angle is vertical; when the window is taller than wide the shorter side
        // is horizontal.
        camera->SetUseHorizontalViewAngle(taller);
        camera->SetViewAngle(angle);
    } else {
        camera->SetParallelProjection(true);
        const double aspect = taller ? static_cast<double>(size[1]) / size[0] : 1.0;
        camera->SetParallelScale(scale_factor_ / 2.0 * aspect);
        // A parallel projection looks the same from any distance, but VTK clips what lies
        // behind the eye: keep the eye outside everything drawn, however far zoomed in,
        // and far enough that VTK's near plane (a small fraction of the far one) stays
        // short of the nearest point.
        distance = scale_factor_ + 2.0 * scene_radius();
    }
    camera->SetFocalPoint(center_.data());
    camera->SetPosition(center_[0] + distance * f.back[0], center_[1] + distance * f.back[1],
                        center_[2] + distance * f.back[2]);
    camera->SetViewUp(f.up.data());
    VtkAccess::renderer(view_)->ResetCameraClippingRange();
}

double TurntableCamera::scene_radius() const {
    double b[6];
    VtkAccess::renderer(view_)->ComputeVisiblePropBounds(b);
    if (!vtkMath::AreBoundsInitialized(b)) return 0.0;
    double farthest_squared = 0.0;
    for (int axis = 0; axis < 3; ++axis) {
        const double reach = std::max(std::abs(b[2 * axis] - center_[axis]),
                                      std::abs(b[2 * axis + 1] - center_[axis]));
        farthest_squared += reach * reach;
    }
    return std::sqrt(farthest_squared);
}

void TurntableCamera::changed() const {
    apply();
    view_.update();
}

double TurntableCamera::world_per_pixel() const {
    const int* size = VtkAccess::renderer(view_)->GetSize();
    const int shorter = std::min(size[0], size[1]);
    return shorter > 0 ? scale_factor_ / shorter : 0.0;
}

}  // namespace korvex::scene
