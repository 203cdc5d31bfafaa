#pragma once

// The Qt widget a scene canvas draws in: VTK's own widget, with a cheaper hand-over of
// each frame. VTK draws into its frame buffer and the widget copies that frame into its
// own before Qt composes the window. VTK's copy always filters linearly and then rewrites
// the alpha plane; on a software renderer (llvmpipe) those two passes cost more than
// drawing the scene (about 6 and 4 ms at 1280 x 1024). Here a copy of the same size takes
// the nearest sample, the same pixels at the price of a memory copy, and the alpha plane is
// made opaque only when the window's surface has one that a compositor could show.

#include <QVTKOpenGLNativeWidget.h>

class vtkGenericOpenGLRenderWindow;
class vtkOpenGLState;

namespace korvex::scene {

class SceneWidget : public QVTKOpenGLNativeWidget {
public:
    using QVTKOpenGLNativeWidget::QVTKOpenGLNativeWidget;

protected:
    void paintGL() override;

private:
    void copy_frame_in(vtkGenericOpenGLRenderWindow& window);
    void make_opaque(vtkOpenGLState* state);
};

}  // namespace korvex::scene
