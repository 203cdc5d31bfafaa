#include "korvex/scene/surface_format.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <algorithm>

#include "korvex/config/base.h"

namespace korvex::scene {

using config::_;

void prepare_default_surface_format() {
    QSurfaceFormat::setDefaultFormat(QVTKOpenGLNativeWidget::defaultFormat());
}

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

QSize largest_picture() {
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) return {};
    QOpenGLFunctions* gl = context.functions();
    GLint renderbuffer = 0;
    GLint texture = 0;
    GLint viewport[2] = {0, 0};
    gl->glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    gl->glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    context.doneCurrent();
    const int side = std::min(renderbuffer, texture);
    return {std::min(side, int(viewport[0])), std::min(side, int(viewport[1]))};
}

}  // namespace korvex::scene
