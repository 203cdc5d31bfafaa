#pragma once

// Routes the mouse of a canvas's native widget to the turntable camera of its view:
//   LMB drag orbits, RMB drag or wheel zooms, Shift+LMB drag pans the centre,
//   Shift+RMB drag changes the field of view.
// Nothing happens while the view is not interactive. Keys do nothing here (VTK's
// default keys would, among others, quit the application).

#include <vtkInteractorStyle.h>

namespace korvex::scene {

class ViewBox;

class TurntableInteractorStyle final : public vtkInteractorStyle {
public:
    static TurntableInteractorStyle* New();
    vtkTypeMacro(TurntableInteractorStyle, vtkInteractorStyle)

        static constexpr double WHEEL_ZOOM = 1.1;

    void set_view(ViewBox* view) { view_ = view; }

    void OnLeftButtonDown() override;
    void OnLeftButtonUp() override;
    void OnRightButtonDown() override;
    void OnRightButtonUp() override;
    void OnMouseMove() override;
    void OnMouseWheelForward() override;
    void OnMouseWheelBackward() override;
    void OnChar() override {}
    void OnKeyPress() override {}
    void OnKeyRelease() override {}

private:
    enum class Gesture { None, Orbit, Zoom, Pan, Fov };

    TurntableInteractorStyle() = default;
    void begin(Gesture left_or_right, Gesture with_shift);
    void end();
    bool active() const;

    ViewBox* view_ = nullptr;
    Gesture gesture_ = Gesture::None;
    int last_[2] = {0, 0};
};

}  // namespace korvex::scene
