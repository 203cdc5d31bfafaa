#include "korvex/scene/view_box.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <vtkCamera.h>
#include <vtkMatrix4x4.h>
#include <vtkRenderer.h>

#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/visual.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

ViewBox::ViewBox(SceneCanvas& canvas) : canvas_(canvas), renderer_(vtkRenderer::New()) {
    camera_ = std::make_unique<TurntableCamera>(*this);
    set_bgcolor(Color());
}

ViewBox::~ViewBox() {
    // The visuals belong to their data objects and outlive the view: leave them unattached.
    for (Visual* visual : children_) {
        renderer_->RemoveViewProp(visual->prop_);
        visual->parent_ = nullptr;
    }
    renderer_->Delete();
}

void ViewBox::add(Visual& visual) { visual.set_parent(this); }

void ViewBox::set_key_target(Visual* visual) {
    if (visual && visual->parent() != this)
        throw std::logic_error("a view's key target must be attached to it");
    key_target_ = visual;
}

void ViewBox::set_bgcolor(const Color& color) {
    bgcolor_ = color;
    // One renderer draws both layers: the view's colour over the canvas's.
    const auto shown = shown_background().rgba();
    renderer_->SetBackground(shown[0], shown[1], shown[2]);
    renderer_->SetBackgroundAlpha(shown[3]);
    for (Visual* visual : children_) visual->apply_background(shown_background());
    update();
}

Color ViewBox::shown_background() const { return bgcolor_.over(canvas_.bgcolor()); }

void ViewBox::set_z_scale(double factor) {
    if (!(std::isfinite(factor) && factor > 0.0)) {
        throw utils::ValueError(
            utils::format("the vertical scale must be a positive number, got {}", factor)
                .toStdString());
    }
    z_scale_ = factor;
    for (Visual* visual : children_) visual->apply_z_scale(factor);
    update();
}

void ViewBox::update() const { canvas_.update(); }

PickRay ViewBox::ray_through(const PickRay::Pixel& pixel) const {
    // The camera fits the window's current shape before each frame; a pick between a
    // resize and the next frame must see what that frame will draw.
    camera_->apply();
    vtkCamera* camera = VtkAccess::camera(*camera_);
    const auto elements = [](vtkMatrix4x4* matrix) {
        PickRay::Matrix copy{};
        std::copy(&matrix->Element[0][0], &matrix->Element[0][0] + 16, copy.begin());
        return copy;
    };
    const PickRay::Matrix view = elements(camera->GetViewTransformMatrix());
    const PickRay::Matrix projection =
        elements(camera->GetProjectionTransformMatrix(renderer_->GetTiledAspectRatio(), -1.0, 1.0));
    const int* size = renderer_->GetSize();
    return PickRay(view, projection, z_scale_, {double(size[0]), double(size[1])}, pixel);
}

void ViewBox::attach(Visual& visual) {
    children_.push_back(&visual);
    visual.apply_z_scale(z_scale_);
    visual.apply_background(shown_background());
    renderer_->AddViewProp(visual.prop_);
    update();
}

void ViewBox::detach(Visual& visual) {
    if (key_target_ == &visual) key_target_ = nullptr;
    children_.erase(std::remove(children_.begin(), children_.end(), &visual), children_.end());
    renderer_->RemoveViewProp(visual.prop_);
    update();
}

}  // namespace korvex::scene
