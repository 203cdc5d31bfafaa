#pragma once

// The one view of a scene canvas: a VTK renderer holding the attached visuals,
// a turntable camera and a background colour.
//   ViewBox* view = canvas.add_view();
//   view->add(*visual);                 // attach; visual->set_parent(nullptr) detaches
//   view->set_bgcolor(Color("black"));
//   view->camera().set_azimuth(90);
// `interactive` false makes the camera ignore the mouse.

#include <memory>
#include <vector>

#include "korvex/scene/color.h"
#include "korvex/scene/pick_ray.h"
#include "korvex/scene/scene_export.h"

class vtkRenderer;

namespace korvex::scene {

class SceneCanvas;
class TurntableCamera;
class Visual;

class KORVEX_SCENE_EXPORT ViewBox {
public:
    explicit ViewBox(SceneCanvas& canvas);
    ~ViewBox();
    ViewBox(const ViewBox&) = delete;
    ViewBox& operator=(const ViewBox&) = delete;

    void add(Visual& visual);
    const std::vector<Visual*>& children() const { return children_; }

    TurntableCamera& camera() const { return *camera_; }

    // Transparent until set: the canvas's own colour shows through.
    Color bgcolor() const { return bgcolor_; }
    void set_bgcolor(const Color& color);
    // What the background looks like: the view's colour over the canvas's.
    Color shown_background() const;

    // Vertical exaggeration: every attached visual draws z times this factor; scene
    // coordinates (what visuals are given, what picking answers) stay unscaled.
    double z_scale() const { return z_scale_; }
    // Throws utils::ValueError unless positive and finite.
    void set_z_scale(double factor);

    // The attached visual that takes the canvas's key presses; it loses them when it
    // leaves the view. nullptr: keys go to the camera (which ignores them).
    Visual* key_target() const { return key_target_; }
    void set_key_target(Visual* visual);

    bool interactive() const { return interactive_; }
    void set_interactive(bool interactive) { interactive_ = interactive; }

    // The line of sight through a pixel's centre (display coordinates: device pixels,
    // origin bottom left) under the camera as it draws now. Throws std::invalid_argument
    // while the view has no size.
    PickRay ray_through(const PickRay::Pixel& pixel) const;

    SceneCanvas& canvas() const { return canvas_; }
    // Asks the canvas for a redraw.
    void update() const;

private:
    friend class Visual;
    friend struct VtkAccess;
    void attach(Visual& visual);
    void detach(Visual& visual);

    SceneCanvas& canvas_;
    vtkRenderer* const renderer_;  // one reference, released by the destructor
    std::unique_ptr<TurntableCamera> camera_;
    std::vector<Visual*> children_;
    Visual* key_target_ = nullptr;
    Color bgcolor_;
    bool interactive_ = true;
    double z_scale_ = 1.0;
};

}  // namespace korvex::scene
