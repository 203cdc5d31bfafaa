#include "tests/support/scene_probe.h"

#include <cmath>

#include <vtkCamera.h>
#include <vtkRenderer.h>

#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace korvex::testing {

std::array<double, 3> direction_of_projection(const scene::TurntableCamera& camera) {
    std::array<double, 3> d{};
    scene::VtkAccess::camera(camera)->GetDirectionOfProjection(d.data());
    for (double& component : d) component = std::round(component * 1e9) / 1e9 + 0.0;
    return d;
}

bool parallel_projection(const scene::TurntableCamera& camera) {
    return scene::VtkAccess::camera(camera)->GetParallelProjection() != 0;
}

double view_angle(const scene::TurntableCamera& camera) {
    return scene::VtkAccess::camera(camera)->GetViewAngle();
}

bool in_sight(const scene::ViewBox& view, const std::array<double, 6>& box) {
    vtkRenderer* renderer = scene::VtkAccess::renderer(view);
    const int* size = renderer->GetSize();
    for (int corner = 0; corner < 8; ++corner) {
        renderer->SetWorldPoint(box[corner & 1], box[2 + ((corner >> 1) & 1)],
                                box[4 + ((corner >> 2) & 1)], 1.0);
        renderer->WorldToDisplay();
        const double* p = renderer->GetDisplayPoint();
        if (p[0] < 0 || p[0] > size[0] || p[1] < 0 || p[1] > size[1]) return false;
    }
    return true;
}

}  // namespace korvex::testing
