#pragma once

#include <memory>
#include <vector>

#include "korvex/scene/item.h"
#include "korvex/scene/scene_canvas.h"

namespace korvex::scene {
class XYZAxis;
}

namespace korvex::widgets {

class CanvasWidget;

// The scene canvas of a cube viewer: white, one view under a turntable camera, an
// XYZ axis, and the registry of what has been added. With pick mode on, a press
// finds the visual under the mouse: a left press selects its data object in the
// data tree, a right press hands the press to the visual's own query.
class Canvas final : public scene::SceneCanvas {
public:
    explicit Canvas(CanvasWidget& parent);
    ~Canvas() override;

    CanvasWidget& owner() const { return owner_; }
    scene::XYZAxis& axis() const { return *axis_; }

    // Every item added, as added, in order; picking is off while it is empty.
    std::vector<scene::Item> visuals;
    bool pick_mode = false;

protected:
    void on_mouse_press(const scene::MouseEvent& event) override;

private:
    // The visual under `pos`, looked up with the camera deaf to the mouse.
    scene::Visual* pick_visual(const QPoint& pos) const;
    void select_host(const scene::Visual& visual) const;

    CanvasWidget& owner_;
    std::unique_ptr<scene::XYZAxis> axis_;
};

}  // namespace korvex::widgets
