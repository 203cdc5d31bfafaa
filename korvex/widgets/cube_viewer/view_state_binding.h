#pragma once

#include "korvex/widgets/cube_viewer/view_state.h"

namespace korvex::scene {
class ViewBox;
}

namespace korvex::widgets {

class ViewAspect;

// A viewer's view state read off what it stands for, and written back: the camera and
// background of the view, and the recorded aspect.
class ViewStateBinding {
public:
    ViewStateBinding(scene::ViewBox& view, const ViewAspect& aspect)
        : view_(view), aspect_(aspect) {}

    // Every key, in the view state's order.
    ViewState state() const;
    // Checks the whole map first (utils::ValueError naming the bad key, nothing changed),
    // then applies the camera and background keys it holds. The aspect pair is left to
    // ViewAspect: a project applies it on its own.
    void apply(const ViewState& state) const;

private:
    scene::ViewBox& view_;
    const ViewAspect& aspect_;
};

}  // namespace korvex::widgets
