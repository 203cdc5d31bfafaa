#include "bench/screen_handover.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QVTKOpenGLStereoWidget.h>
#include <QVTKOpenGLWindow.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QTest>
#include <stdexcept>
#include <string>

#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace korvex::bench {

namespace {

class ClearingWidget : public QOpenGLWidget {
protected:
    void paintGL() override {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
};

// Paints and flushes `window` now rather than at the next turn of the event loop.
void update_now(QObject* window) {
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window, &request);
}

}  // namespace

double frame_on_screen_ms(QOpenGLWidget& widget, int frames, const std::function<void()>& draw) {
    int swapped = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&widget, &QOpenGLWidget::frameSwapped, [&] { ++swapped; });
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        times.push_back(elapsed_ms([&] {
            draw();
            update_now(widget.window());
            widget.makeCurrent();
            widget.context()->functions()->glFinish();
        }));
    }
    QObject::disconnect(counting);
    if (swapped < frames) {
        throw std::runtime_error(std::to_string(frames - swapped) + " of " +
                                 std::to_string(frames) + " frames did not reach the screen");
    }
    return median(times);
}

double empty_widget_frame_ms(int width, int height, int frames) {
    ClearingWidget widget;
    widget.resize(width, height);
    widget.show();
    (void)QTest::qWaitForWindowExposed(&widget);
    return frame_on_screen_ms(widget, frames, [&] { widget.update(); });
}

double frame_buffer_copy_ms(int width, int height, int copies) {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    context.create();
    context.makeCurrent(&surface);
    QOpenGLFramebufferObject source(width, height), target(width, height);
    std::vector<double> times;
    for (int i = 0; i < copies; ++i) {
        times.push_back(elapsed_ms([&] {
            QOpenGLFramebufferObject::blitFramebuffer(&target, &source);
            context.functions()->glFinish();
        }));
    }
    context.doneCurrent();
    return median(times);
}

double native_window_frame_ms(SectionScene& scene, int frames) {
    vtkGenericOpenGLRenderWindow* window = scene::VtkAccess::render_window(scene.canvas());
    const QSize size = scene.window().size();
    scene.window().hide();
    static_cast<QVTKOpenGLNativeWidget*>(scene.canvas().native())
        ->setRenderWindow(static_cast<vtkGenericOpenGLRenderWindow*>(nullptr));
    QVTKOpenGLStereoWidget native_window;
    native_window.setRenderWindow(window);
    native_window.resize(size);
    native_window.show();
    (void)QTest::qWaitForWindowExposed(&native_window);
    QVTKOpenGLWindow* surface = native_window.embeddedOpenGLWindow();
    scene::TurntableCamera& camera = scene.canvas().view()->camera();
    const auto frame = [&] {
        camera.set_azimuth(camera.azimuth() + 3.0);
        window->Render();
        update_now(surface);
        window->MakeCurrent();
        window->WaitForCompletion();
    };
    frame();  // the window's first frame compiles its copy's shader
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) times.push_back(elapsed_ms(frame));
    return median(times);
}

}  // namespace korvex::bench
