#pragma once

#include <functional>

#include "bench/section_scene.h"

class QOpenGLWidget;

// What putting a finished picture on the screen costs on this display, apart from drawing
// it: bench_render_frame prints these beside frame_on_screen to show where its time goes.
namespace korvex::bench {

// The median time of `draw` followed by `widget`'s window painted, composed and swapped at
// once rather than at the event loop's next turn, and finished. Throws std::runtime_error
// when a frame did not reach the screen, as its time would then be wrong.
double frame_on_screen_ms(QOpenGLWidget& widget, int frames, const std::function<void()>& draw);

// A QOpenGLWidget that only clears, alone in a window of the given size: the median time
// of one frame composed by Qt and swapped, which every QOpenGLWidget pays before drawing.
double empty_widget_frame_ms(int width, int height, int frames);

// The median time of one copy of a whole frame buffer of the given size into another
// (glBlitFramebuffer): the step VTK and Qt each take between drawing and the screen.
double frame_buffer_copy_ms(int width, int height, int copies);

// The scene's render window moved into VTK's native-window widget (QVTKOpenGLStereoWidget)
// of the scene's size: the median time of the camera turned, the scene drawn, copied into
// the window and swapped. The scene's own widget is left without a render window, so this
// comes last.
double native_window_frame_ms(SectionScene& scene, int frames);

}  // namespace korvex::bench
