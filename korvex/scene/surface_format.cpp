#include "korvex/scene/surface_format.h"

#include <QVTKOpenGLNativeWidget.h>
#include <vtkOpenGLRenderWindow.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <algorithm>
#include <functional>

#include "korvex/config/base.h"

namespace korvex::scene {

using config::_;

namespace {

// Runs `ask` with a context of the default format current on an offscreen surface; false
// when no such context can be made.
bool ask_opengl(const std::function<void(QOpenGLFunctions&)>& ask) {
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) return false;
    ask(*context.functions());
    context.doneCurrent();
    return true;
}

}  // namespace

QSurfaceFormat view_surface_format() { return QVTKOpenGLNativeWidget::defaultFormat(); }

void prepare_default_surface_format() { QSurfaceFormat::setDefaultFormat(view_surface_format()); }

QString opengl_shortfall() {
    const QString needed = QStringLiteral("%1.%2").arg(MIN_OPENGL_MAJOR).arg(MIN_OPENGL_MINOR);
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    if (!context.create()) {
        return _("This display offers no OpenGL; the 3D view needs OpenGL %1 or newer").arg(needed);
    }
    // Asked for a version it lacks, the driver may still give an older context.
    const QPair<int, int> given = context.format().version();
    if (given < qMakePair(MIN_OPENGL_MAJOR, MIN_OPENGL_MINOR)) {
        return _("This display offers OpenGL %1.%2; the 3D view needs OpenGL %3 or newer")
            .arg(given.first)
            .arg(given.second)
            .arg(needed);
    }
    return {};
}

void fit_multisampling_to_renderer() {
    QString renderer;
    ask_opengl([&](QOpenGLFunctions& gl) {
        renderer = QString::fromLatin1(reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER)));
    });
    static const QStringList software{"llvmpipe", "softpipe", "Software Rasterizer", "SWR"};
    const bool in_software = std::any_of(
        software.begin(), software.end(),
        [&](const QString& name) { return renderer.contains(name, Qt::CaseInsensitive); });
    if (in_software) vtkOpenGLRenderWindow::SetGlobalMaximumNumberOfMultiSamples(0);
}

QSize largest_picture() {
    GLint renderbuffer = 0;
    GLint texture = 0;
    GLint viewport[2] = {0, 0};
    const bool asked = ask_opengl([&](QOpenGLFunctions& gl) {
        gl.glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
        gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
        gl.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    });
    if (!asked) return {};
    const int side = std::min(renderbuffer, texture);
    return {std::min(side, int(viewport[0])), std::min(side, int(viewport[1]))};
}

}  // namespace korvex::scene
