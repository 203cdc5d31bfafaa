#include "korvex/scene/private/scene_widget.h"

#include <QVTKRenderWindowAdapter.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkOpenGLFramebufferObject.h>
#include <vtkOpenGLState.h>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QWindow>

namespace korvex::scene {

void SceneWidget::paintGL() {
    auto* window = vtkGenericOpenGLRenderWindow::SafeDownCast(renderWindow());
    if (!window || !RenderWindowAdapter) {
        QVTKOpenGLNativeWidget::paintGL();
        return;
    }
    vtkOpenGLState* state = window->GetState();
    state->Reset();
    state->Push();
    state->vtkglDepthFunc(GL_LEQUAL);  // Qt leaves GL_LESS; VTK's shaders expect GL_LEQUAL
    RenderWindowAdapter->paint();      // draws only when VTK has no frame for this size yet
    // A frame drawn just now may have made another context current.
    makeCurrent();
    copy_frame_in(*window);
    state->Pop();
}

void SceneWidget::copy_frame_in(vtkGenericOpenGLRenderWindow& window) {
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    const GLenum colour = GL_COLOR_ATTACHMENT0;
    gl->glDrawBuffers(1, &colour);
    // The scissor clips copies too; Qt may leave it on.
    window.GetState()->vtkglDisable(GL_SCISSOR_TEST);
    const int* frame = window.GetRenderFramebuffer()->GetLastSize();
    const QSize target = size() * devicePixelRatioF();
    const bool same_size = frame[0] == target.width() && frame[1] == target.height();
    window.BlitDisplayFramebuffer(0, 0, 0, frame[0], frame[1], 0, 0, target.width(),
                                  target.height(), GL_COLOR_BUFFER_BIT,
                                  same_size ? GL_NEAREST : GL_LINEAR);
    const QWindow* surface = this->window()->windowHandle();
    if (surface && surface->format().alphaBufferSize() > 0) make_opaque(window.GetState());
}

void SceneWidget::make_opaque(vtkOpenGLState* state) {
    // Text and other blended edges leave the alpha plane below one even over an opaque
    // background; a compositing window manager would show the desktop through them.
    vtkOpenGLState::ScopedglColorMask mask(state);
    vtkOpenGLState::ScopedglClearColor clear_colour(state);
    state->vtkglColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    state->vtkglClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    state->vtkglClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace korvex::scene
