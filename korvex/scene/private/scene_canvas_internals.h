#pragma once

// What a scene canvas holds of VTK and Qt's VTK widget, shared with VtkAccess.

#include <QVTKOpenGLNativeWidget.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkSmartPointer.h>

#include "korvex/scene/private/turntable_interactor_style.h"
#include "korvex/scene/scene_canvas.h"

namespace korvex::scene {

struct SceneCanvas::Internals {
    vtkSmartPointer<vtkGenericOpenGLRenderWindow> render_window =
        vtkSmartPointer<vtkGenericOpenGLRenderWindow>::New();
    vtkSmartPointer<TurntableInteractorStyle> style =
        vtkSmartPointer<TurntableInteractorStyle>::New();
    QVTKOpenGLNativeWidget* native = nullptr;
};

}  // namespace korvex::scene
