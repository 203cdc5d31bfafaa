#pragma once

#include <QSize>
#include <QString>
#include <QSurfaceFormat>

namespace korvex::scene {

// The OpenGL version the 3D views draw with at the least.
inline constexpr int MIN_OPENGL_MAJOR = 3;
inline constexpr int MIN_OPENGL_MINOR = 2;

// The OpenGL format the 3D views draw with.
QSurfaceFormat view_surface_format();

// Makes the OpenGL format the 3D views need the default of every window of the process.
// Call it before the QApplication exists: windows made earlier keep the format they had.
void prepare_default_surface_format();

// Why the 3D views cannot draw on this display, in one sentence; empty when they can.
// Opens one OpenGL context of the default format; needs the QGuiApplication.
QString opengl_shortfall();

// Turns multisampling off in the 3D views made from now on when the display draws with a
// software renderer (Mesa's llvmpipe, softpipe, ...): there every sample is drawn by the
// processor, and a frame with a new section took three times as long with VTK's eight
// samples as with none. Needs the QGuiApplication.
void fit_multisampling_to_renderer();

// The largest picture the 3D views can draw on this display: the smallest of OpenGL's
// limits on renderbuffers, textures and viewports. Empty when no context can be made.
// Needs the QGuiApplication.
QSize largest_picture();

}  // namespace korvex::scene
