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
#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class ViewBox;
class Visual;
struct MouseEvent;

class KORVEX_SCENE_EXPORT SceneCanvas : public QObject {
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

    // The visual drawn at `pos` (Qt pixels of the native widget; the device pixel at its
    // top left when the screen has more than one per Qt pixel), or nullptr: the front one
    // of the visible, pickable visuals there. A line or point counts on the pixels its
    // width or size covers, and on no other.
    Visual* visual_at(const QPoint& pos) const;
    // The scene point of that visual drawn at `pos`, if any: z as given to the visuals,
    // before the view's vertical scale. On a point set, the point itself.
    std::optional<std::array<double, 3>> pick_point(const QPoint& pos) const;
    // Both at once, from the same line of sight; the visual's data not yet queried.
    // Geometry answers it: nothing is drawn.
    PickResult pick(const QPoint& pos) const;

    // The whole canvas as the screen shows it now, RGBA (opaque wherever the background
    // is), at its size in device pixels. Throws
    // std::runtime_error while the native widget has no drawing surface yet.
    QImage render() const;
    // Schedules a redraw.
    void update();

protected:
    virtual void on_mouse_press(const MouseEvent& event);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend struct VtkAccess;
    void connect_interactor();
    // The centre of the device pixel at Qt position `pos`, in VTK display coordinates
    // (device pixels, origin bottom left); absent outside the canvas.
    std::optional<std::array<double, 2>> pixel_centre(const QPoint& pos) const;

    struct Internals;

    Color bgcolor_;
    std::unique_ptr<Internals> internals_;
    std::unique_ptr<ViewBox> view_;
    bool update_pending_ = false;
};

}  // namespace korvex::scene
