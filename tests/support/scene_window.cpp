#include "tests/support/scene_window.h"

#include <QOpenGLWidget>
#include <QTest>
#include <QVBoxLayout>

#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace korvex::testing {

SceneWindow::SceneWindow(int width, int height)
    : window_(std::make_unique<QWidget>()), canvas_(std::make_unique<scene::SceneCanvas>()) {
    view_ = canvas_->add_view();
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas_->create_native());
    window_->resize(width, height);
    wait_until_drawn(*window_);
}

SceneWindow::~SceneWindow() {
    canvas_.reset();
    window_.reset();
}

QWidget& SceneWindow::native() { return *canvas_->native(); }

void SceneWindow::look_down(double extent) {
    scene::TurntableCamera& camera = view_->camera();
    camera.set_fov(0.0);
    camera.set_elevation(90.0);
    camera.set_azimuth(0.0);
    camera.set_center({0.0, 0.0, 0.0});
    camera.set_scale_factor(extent);
}

bool wait_until_drawn(QWidget& widget) {
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget)) return false;
    auto* native = widget.findChild<QOpenGLWidget*>();
    if (!native) native = qobject_cast<QOpenGLWidget*>(&widget);
    return native && QTest::qWaitFor([native] { return native->isValid(); }, 5000);
}

}  // namespace korvex::testing
