#include "korvex/scene/visual.h"

#include <vtkMatrix4x4.h>
#include <vtkProp3D.h>
#include <vtkSmartPointer.h>

#include "korvex/scene/view_box.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

Visual::Visual(vtkProp* prop) : prop_(prop) { prop_->Register(nullptr); }

Visual::~Visual() {
    set_parent(nullptr);
    prop_->UnRegister(nullptr);
}

void Visual::set_parent(ViewBox* view) {
    if (view == parent_) return;
    if (parent_) parent_->detach(*this);
    parent_ = view;
    if (parent_) parent_->attach(*this);
}

bool Visual::visible() const { return prop_->GetVisibility() != 0; }

void Visual::set_visible(bool visible) {
    prop_->SetVisibility(visible);
    update();
}

void Visual::set_pickable(bool pickable) { prop_->SetPickable(pickable); }

bool Visual::pickable() const { return prop_->GetPickable() != 0; }

std::array<double, 6> Visual::bounds() const {
    // Uninitialised (min > max) for what has no place in the scene, such as a colour bar.
    std::array<double, 6> result{1.0, -1.0, 1.0, -1.0, 1.0, -1.0};
    if (const double* b = prop_->GetBounds()) std::copy(b, b + 6, result.begin());
    return result;
}

void Visual::apply_z_scale(double factor) {
    if (auto* prop3d = vtkProp3D::SafeDownCast(prop_)) {
        prop3d->SetScale(1.0, 1.0, factor);
        update();
    }
}

std::optional<RayHit> Visual::hit_in_scene(const PickRay& ray) const {
    if (placement_.is_identity()) return hit(ray);
    auto found = hit(ray.in_own_coordinates(placement_.matrix()));
    if (found) found->point = placement_.to_scene(found->point);
    return found;
}

void Visual::set_placement(const Placement& placement) {
    placement_ = placement;
    if (auto* prop3d = vtkProp3D::SafeDownCast(prop_)) {
        auto matrix = vtkSmartPointer<vtkMatrix4x4>::New();
        matrix->DeepCopy(placement.matrix().data());
        prop3d->SetUserMatrix(matrix);
    }
    update();
}

void Visual::query_in_3d(SceneCanvas&, const MouseEvent&) {
    throw utils::NotImplementedError(utils::format("{} has no query in 3D", text()).toStdString());
}

QString Visual::text() const {
    // Users read this in the log: no addresses.
    if (name.isEmpty()) return QString::fromLatin1(type_name());
    return utils::format("{} '{}'", type_name(), name);
}

void Visual::update() const {
    if (parent_) parent_->update();
}

}  // namespace korvex::scene
