#pragma once

#include <QWidget>
#include <memory>

namespace korvex::scene {
class SceneCanvas;
class ViewBox;
}  // namespace korvex::scene

namespace korvex::testing {

// A shown top-level window of a fixed size filled by a scene canvas's native widget,
// drawn at least once; for tests that render, pick or drive the mouse.
class SceneWindow {
public:
    explicit SceneWindow(int width = 200, int height = 200);
    ~SceneWindow();

    scene::SceneCanvas& canvas() { return *canvas_; }
    scene::ViewBox& view() { return *view_; }
    QWidget& native();
    // Looks from straight above, orthographic, `extent` world units across.
    void look_down(double extent);

private:
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<scene::SceneCanvas> canvas_;
    scene::ViewBox* view_ = nullptr;
};

// Shows `widget` and waits until its scene canvas has been drawn.
bool wait_until_drawn(QWidget& widget);

}  // namespace korvex::testing
