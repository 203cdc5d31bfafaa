#include "korvex/scene/scene_canvas.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>
#include <stdexcept>

#include <vtkCallbackCommand.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkRenderWindowInteractor.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkUnsignedCharArray.h>

#include "korvex/scene/key_event.h"
#include "korvex/scene/mouse_event.h"
#include "korvex/scene/private/scene_canvas_internals.h"
#include "korvex/scene/private/scene_widget.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/visual.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::scene {

namespace {

int button_number(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseEvent::LEFT;
        case Qt::RightButton:
            return MouseEvent::RIGHT;
        case Qt::MiddleButton:
            return MouseEvent::MIDDLE;
        default:
            return 0;
    }
}

// The camera must fit the window's current shape before each frame.
void apply_camera(vtkObject*, unsigned long, void* client_data, void*) {
    try {
        static_cast<ViewBox*>(client_data)->camera().apply();
    } catch (...) {
        // A VTK callback: the frame is drawn with the previous camera.
    }
}

}  // namespace

SceneCanvas::SceneCanvas(const Color& bgcolor, QObject* parent)
    : QObject(parent), bgcolor_(bgcolor), internals_(std::make_unique<Internals>()) {
    internals_->render_window->SetAlphaBitPlanes(1);
}

SceneCanvas::~SceneCanvas() {
    // The native widget may outlive the canvas for a moment (its Qt parent deletes it
    // later): leave it nothing that points back here.
    internals_->style->set_view(nullptr);
    if (view_) {
        VtkAccess::renderer(*view_)->RemoveAllObservers();
        internals_->render_window->RemoveRenderer(VtkAccess::renderer(*view_));
    }
    view_.reset();
    if (internals_->native && !internals_->native->parent()) delete internals_->native;
}

ViewBox* SceneCanvas::add_view() {
    if (view_) throw std::logic_error("a scene canvas holds a single view");
    view_ = std::make_unique<ViewBox>(*this);
    auto callback = vtkSmartPointer<vtkCallbackCommand>::New();
    callback->SetCallback(apply_camera);
    callback->SetClientData(view_.get());
    VtkAccess::renderer(*view_)->AddObserver(vtkCommand::StartEvent, callback);
    internals_->render_window->AddRenderer(VtkAccess::renderer(*view_));
    connect_interactor();
    return view_.get();
}

QWidget* SceneCanvas::create_native() {
    if (internals_->native) return internals_->native;
    internals_->native = new SceneWidget();
    internals_->native->setRenderWindow(internals_->render_window.Get());
    internals_->native->installEventFilter(this);
    connect(internals_->native, &QObject::destroyed, this,
            [this] { internals_->native = nullptr; });
    connect_interactor();
    return internals_->native;
}

QWidget* SceneCanvas::native() const { return internals_->native; }

bool SceneCanvas::has_surface() const {
    return internals_->native && internals_->native->isValid();
}

void SceneCanvas::connect_interactor() {
    if (!internals_->native || !view_) return;
    internals_->style->set_view(view_.get());
    internals_->style->SetDefaultRenderer(VtkAccess::renderer(*view_));
    internals_->native->interactor()->SetInteractorStyle(internals_->style);
}

void SceneCanvas::show() {
    if (internals_->native) internals_->native->show();
}

std::optional<std::array<double, 2>> SceneCanvas::pixel_centre(const QPoint& pos) const {
    if (!internals_->native) return std::nullopt;
    const double ratio = internals_->native->effectiveDevicePixelRatio();
    const int* size = internals_->render_window->GetSize();
    const double column = std::floor(pos.x() * ratio);
    const double row = std::floor(pos.y() * ratio);
    if (column < 0 || row < 0 || column >= size[0] || row >= size[1]) return std::nullopt;
    return std::array<double, 2>{column + 0.5, size[1] - row - 0.5};
}

Visual* SceneCanvas::visual_at(const QPoint& pos) const { return pick(pos).visual; }

std::optional<std::array<double, 3>> SceneCanvas::pick_point(const QPoint& pos) const {
    return pick(pos).point;
}

PickResult SceneCanvas::pick(const QPoint& pos) const {
    PickResult result;
    const auto pixel = pixel_centre(pos);
    if (!view_ || !pixel) return result;
    const int* size = VtkAccess::renderer(*view_)->GetSize();
    if (size[0] <= 0 || size[1] <= 0) return result;  // never drawn: nothing to point at
    const PickRay ray = view_->ray_through(*pixel);
    std::optional<RayHit> nearest;
    for (Visual* visual : view_->children()) {
        if (!visual->visible() || !visual->pickable()) continue;
        const auto hit = visual->hit_in_scene(ray);
        if (hit && (!nearest || hit->in_front_of(*nearest))) {
            nearest = hit;
            result.visual = visual;
        }
    }
    if (nearest) result.point = nearest->point;
    return result;
}

QImage SceneCanvas::render() const {
    if (!internals_->native || !internals_->native->isValid()) {
        throw std::runtime_error("the canvas has not been shown yet, there is nothing to render");
    }
    // Read straight from VTK's frame, drawn now (a redraw may still be pending): asking the
    // widget for its frame would draw it a second time and convert its pixels twice.
    vtkGenericOpenGLRenderWindow* window = internals_->render_window;
    window->Render();
    const int width = window->GetSize()[0];
    const int height = window->GetSize()[1];
    auto pixels = vtkSmartPointer<vtkUnsignedCharArray>::New();
    if (window->GetRGBACharPixelData(0, 0, width - 1, height - 1, 1, pixels) != VTK_OK)
        throw std::runtime_error("the canvas's picture could not be read back");
    QImage image(width, height, QImage::Format_RGBA8888);
    const unsigned char* bottom_up = pixels->GetPointer(0);
    const int row_bytes = 4 * width;
    const bool opaque = view_ && VtkAccess::renderer(*view_)->GetBackgroundAlpha() >= 1.0;
    for (int row = 0; row < height; ++row) {
        uchar* line = image.scanLine(row);
        std::copy_n(bottom_up + static_cast<std::ptrdiff_t>(height - 1 - row) * row_bytes,
                    row_bytes, line);
        // Blending leaves soft edges (text above all) semi-transparent in the alpha plane
        // while their colour is already mixed with the background: over an opaque
        // background the screen shows every pixel opaque, and so must the picture.
        if (opaque) {
            for (int x = 0; x < width; ++x) line[4 * x + 3] = 255;
        }
    }
    return image;
}

void SceneCanvas::update() {
    if (update_pending_ || !internals_->native) return;
    update_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        update_pending_ = false;
        if (internals_->native && internals_->native->isVisible())
            internals_->render_window->Render();
    });
}

void SceneCanvas::on_mouse_press(const MouseEvent&) {}

bool SceneCanvas::eventFilter(QObject* watched, QEvent* event) {
    if (watched == internals_->native && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const MouseEvent mouse{press->pos(), button_number(press->button()), press->modifiers()};
        utils::call_guarded("Mouse press", [&] { on_mouse_press(mouse); });
    }
    if (watched == internals_->native && event->type() == QEvent::KeyPress && view_ &&
        view_->key_target()) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const KeyEvent key{press->key(), press->modifiers()};
        bool used = false;
        utils::call_guarded("Key press", [&] { used = view_->key_target()->on_key_press(key); });
        if (used) return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex::scene
