#pragma once

// A drawing surface with one view: a VTK render window (alpha planes on), and after
// create_native() the Qt widget that shows it.
//   SceneCanvas canvas;                 // white
//   ViewBox* view = canvas.add_view();
//   auto* widget = canvas.create_native();  layout->addWidget(widget);
//   canvas.show();
//   Visual* hit = canvas.visual_at(pos);           // the visual drawn at a Qt pixel
//   auto point = canvas.pick_point(pos);           // the exact world point there
//   PickResult pick = canvas.pick(pos);            // both at once
//   write_png("shot.png", canvas.render());
// Every mouse press on the native widget reaches on_mouse_press (exceptions are
// logged, never passed on); the camera still gets the press afterwards. Key presses go
// to the view's key target, if any (see ViewBox::key_target).

#include <QImage>
#include <QObject>
#include <QPoint>
#include <array>
#include <memory>
#include <optional>

#include "korvex/scene/color.h"
#include "korvex/scene/pick_result.h"

class vtkGenericOpenGLRenderWindow;

namespace korvex::scene {

class ViewBox;
class Visual;
struct MouseEvent;

class SceneCanvas : public QObject {
    Q_OBJECT

public:
    explicit SceneCanvas(const Color& bgcolor = Color(1.0, 1.0, 1.0), QObject* parent = nullptr);
    ~SceneCanvas() override;

    Color bgcolor() const { return bgcolor_; }

    // Creates the canvas's view; a canvas holds one (a second call throws std::logic_error).
    ViewBox* add_view();
    ViewBox* view() const { return view_.get(); }

    // Creates the Qt widget showing the canvas (once; later calls return it).
    QWidget* create_native();
    QWidget* native() const;
    // Whether the native widget exists and has its OpenGL surface, so it can draw.
    bool has_surface() const;
    void show();

    // The visual drawn at `pos` (Qt pixels of the native widget), or nullptr. Thin lines
    // are found within a few pixels.
    Visual* visual_at(const QPoint& pos) const;
    // The scene point of the surface drawn at `pos`, if any: z as given to the visuals,
    // before the view's vertical scale.
    std::optional<std::array<double, 3>> pick_point(const QPoint& pos) const;
    // The visual at `pos` and the scene point hit there, its data not yet queried.
    PickResult pick(const QPoint& pos) const;

    // The whole canvas as the screen shows it now, RGBA (opaque wherever the background
    // is), at its size in device pixels. Throws
    // std::runtime_error while the native widget has no drawing surface yet.
    QImage render() const;
    // Schedules a redraw.
    void update();

    vtkGenericOpenGLRenderWindow* render_window() const;

protected:
    virtual void on_mouse_press(const MouseEvent& event);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connect_interactor();
    // Qt pixels to VTK display coordinates (origin bottom left, device pixels).
    std::array<double, 2> display_position(const QPoint& pos) const;

    struct Internals;

    Color bgcolor_;
    std::unique_ptr<Internals> internals_;
    std::unique_ptr<ViewBox> view_;
    bool update_pending_ = false;
};

}  // namespace korvex::scene
