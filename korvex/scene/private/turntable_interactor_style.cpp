#include "korvex/scene/private/turntable_interactor_style.h"

#include <cmath>

#include <vtkObjectFactory.h>
#include <vtkRenderWindowInteractor.h>

#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::scene {

vtkStandardNewMacro(TurntableInteractorStyle);

namespace {
constexpr double ZOOM_PER_PIXEL = 1.005;
}

bool TurntableInteractorStyle::active() const {
    return view_ != nullptr && view_->interactive() && Interactor != nullptr;
}

void TurntableInteractorStyle::begin(Gesture plain, Gesture with_shift) {
    if (!active()) return;
    gesture_ = Interactor->GetShiftKey() ? with_shift : plain;
    Interactor->GetEventPosition(last_);
}

void TurntableInteractorStyle::end() { gesture_ = Gesture::None; }

void TurntableInteractorStyle::OnLeftButtonDown() { begin(Gesture::Orbit, Gesture::Pan); }
void TurntableInteractorStyle::OnLeftButtonUp() { end(); }
void TurntableInteractorStyle::OnRightButtonDown() { begin(Gesture::Zoom, Gesture::Fov); }
void TurntableInteractorStyle::OnRightButtonUp() { end(); }

void TurntableInteractorStyle::OnMouseMove() {
    if (gesture_ == Gesture::None || !active()) return;
    int now[2];
    Interactor->GetEventPosition(now);
    const double dx = now[0] - last_[0];
    const double dy = now[1] - last_[1];
    last_[0] = now[0];
    last_[1] = now[1];
    TurntableCamera& camera = view_->camera();
    // A VTK callback: nothing may escape it.
    utils::call_guarded("Camera interaction", [&] {
        switch (gesture_) {
            case Gesture::Orbit:
                camera.orbit(dx, dy);
                break;
            case Gesture::Zoom:
                camera.zoom(std::pow(ZOOM_PER_PIXEL, -dy));
                break;
            case Gesture::Pan:
                camera.pan(dx, dy);
                break;
            case Gesture::Fov:
                camera.change_fov(dy);
                break;
            case Gesture::None:
                break;
        }
    });
}

void TurntableInteractorStyle::OnMouseWheelForward() {
    if (active())
        utils::call_guarded("Camera zoom", [&] { view_->camera().zoom(1.0 / WHEEL_ZOOM); });
}

void TurntableInteractorStyle::OnMouseWheelBackward() {
    if (active()) utils::call_guarded("Camera zoom", [&] { view_->camera().zoom(WHEEL_ZOOM); });
}

}  // namespace korvex::scene
