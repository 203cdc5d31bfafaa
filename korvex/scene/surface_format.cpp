#include "korvex/scene/surface_format.h"

#include <QVTKOpenGLNativeWidget.h>
#include <QOpenGLContext>
#include <QSurfaceFormat>

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

}  // namespace korvex::scene
