#pragma once

#include <QPair>
#include <QSize>
#include <QString>
#include <QSurfaceFormat>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

// The OpenGL version the 3D views draw with at the least.
inline constexpr int MIN_OPENGL_MAJOR = 3;
inline constexpr int MIN_OPENGL_MINOR = 2;

// The OpenGL format the 3D views draw with.
KORVEX_SCENE_EXPORT QSurfaceFormat view_surface_format();

// Makes the OpenGL format the 3D views need the default of every window of the process.
// Call it before the QApplication exists: windows made earlier keep the format they had.
KORVEX_SCENE_EXPORT void prepare_default_surface_format();

// What the display's OpenGL offers the 3D views, asked once at start-up: every context
// made loads the driver's state anew (tens of milliseconds with Mesa).
struct OpenGLProfile {
    // Whether a context of the default format could be made current at all.
    bool available = false;
    QPair<int, int> version{0, 0};
    // GL_RENDERER, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)".
    QString renderer;
    // The smallest of OpenGL's limits on renderbuffers, textures and viewports.
    QSize largest_picture;
};

// Opens one OpenGL context of the default format on an offscreen surface and reads its
// profile. Needs the QGuiApplication.
KORVEX_SCENE_EXPORT OpenGLProfile probe_opengl();

// Why the 3D views cannot draw with `profile`, in one sentence; empty when they can.
KORVEX_SCENE_EXPORT QString opengl_shortfall(const OpenGLProfile& profile);

// Turns multisampling off in the 3D views made from now on when the display draws with a
// software renderer (Mesa's llvmpipe, softpipe, ...): there every sample is drawn by the
// processor, and a frame with a new section took three times as long with VTK's eight
// samples as with none.
KORVEX_SCENE_EXPORT void fit_multisampling_to_renderer(const OpenGLProfile& profile);

}  // namespace korvex::scene
