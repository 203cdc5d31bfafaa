#pragma once

#include <memory>
#include <vector>

#include "korvex/scene/item.h"
#include "korvex/scene/map_grid.h"
#include "korvex/scene/pick_result.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::scene {
class OrientationMarker;
class XYZAxis;
}  // namespace korvex::scene

namespace korvex::widgets {

class CanvasWidget;

// The scene canvas of a cube viewer: white, one view under a turntable camera, an
// XYZ axis at the scene's origin and a compass of the same colours in its corner, and the registry
// of what has been added. With pick mode on, a press finds the visual under the mouse: a left press
// selects its data object in the data tree, a right press hands the pick to a visual that answers
// with a sample (a SampleQuery), which goes out through sig_picked_sample, and that visual then
// takes the canvas's keys; any other visual gets the press itself through its query_in_3d.
class KORVEX_CUBE_VIEWER_EXPORT Canvas final : public scene::SceneCanvas {
    Q_OBJECT

public:
    explicit Canvas(CanvasWidget& parent);
    ~Canvas() override;

    CanvasWidget& owner() const { return owner_; }
    scene::XYZAxis& axis() const { return *axis_; }
    const scene::OrientationMarker& compass() const { return *compass_; }

    // Every item added, as added, in order; picking is off while it is empty.
    const std::vector<scene::Item>& visuals() const { return visuals_; }
    void register_item(const scene::Item& item);
    // Forgets the first entry equal to `item`; an unknown item is no error.
    void unregister_item(const scene::Item& item);

    // A grid at round map X/Y over what is shown, numbered in map units; `origin` says
    // where the scene's (0, 0) lies on the map. It follows what is added and removed.
    void show_map_grid(scene::MapGrid::Origin origin);
    void hide_map_grid();
    // nullptr while hidden.
    const scene::MapGrid* map_grid() const { return map_grid_.get(); }

    bool pick_mode() const { return pick_mode_; }
    void set_pick_mode(bool on) { pick_mode_ = on; }

signals:
    // The sample a right-button pick found.
    void sig_picked_sample(const korvex::widgets::PickedSample& pick);

protected:
    void on_mouse_press(const scene::MouseEvent& event) override;

private:
    // What lies under `pos`, looked up with the camera deaf to the mouse.
    scene::PickResult pick_deaf(const QPoint& pos) const;
    void query(const scene::PickResult& pick, const scene::MouseEvent& event);
    void select_host(const scene::Visual& visual) const;

    CanvasWidget& owner_;
    std::vector<scene::Item> visuals_;
    bool pick_mode_ = false;
    std::unique_ptr<scene::XYZAxis> axis_;
    std::unique_ptr<scene::OrientationMarker> compass_;
    std::unique_ptr<scene::MapGrid> map_grid_;
};

}  // namespace korvex::widgets
