#include "korvex/scene/surface_format.h"

#include <QVTKOpenGLNativeWidget.h>
#include <vtkOpenGLRenderWindow.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <algorithm>

#include "korvex/config/base.h"

namespace korvex::scene {

using config::_;

QSurfaceFormat view_surface_format() {
    QSurfaceFormat format = QVTKOpenGLNativeWidget::defaultFormat();
    format.setAlphaBufferSize(0);
    return format;
}

void prepare_default_surface_format() { QSurfaceFormat::setDefaultFormat(view_surface_format()); }

OpenGLProfile probe_opengl() {
    OpenGLProfile profile;
    QOpenGLContext context;
    context.setFormat(QSurfaceFormat::defaultFormat());
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface)) return profile;
    profile.available = true;
    // Asked for a version it lacks, the driver may still give an older context.
    profile.version = context.format().version();
    QOpenGLFunctions& gl = *context.functions();
    profile.renderer =
        QString::fromLatin1(reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER)));
    GLint renderbuffer = 0;
    GLint texture = 0;
    GLint viewport[2] = {0, 0};
    gl.glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    gl.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    gl.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    context.doneCurrent();
    const int side = std::min(renderbuffer, texture);
    profile.largest_picture = {std::min(side, int(viewport[0])), std::min(side, int(viewport[1]))};
    return profile;
}

QString opengl_shortfall(const OpenGLProfile& profile) {
    const QString needed = QStringLiteral("%1.%2").arg(MIN_OPENGL_MAJOR).arg(MIN_OPENGL_MINOR);
    if (!profile.available) {
        return _("This display offers no OpenGL; the 3D view needs OpenGL %1 or newer").arg(needed);
    }
    if (profile.version < qMakePair(MIN_OPENGL_MAJOR, MIN_OPENGL_MINOR)) {
        return _("This display offers OpenGL %1.%2; the 3D view needs OpenGL %3 or newer")
            .arg(profile.version.first)
            .arg(profile.version.second)
            .arg(needed);
    }
    return {};
}

void fit_multisampling_to_renderer(const OpenGLProfile& profile) {
    static const QStringList software{"llvmpipe", "softpipe", "Software Rasterizer", "SWR"};
    const bool in_software = std::any_of(
        software.begin(), software.end(),
        [&](const QString& name) { return profile.renderer.contains(name, Qt::CaseInsensitive); });
    if (in_software) vtkOpenGLRenderWindow::SetGlobalMaximumNumberOfMultiSamples(0);
}

}  // namespace korvex::scene
