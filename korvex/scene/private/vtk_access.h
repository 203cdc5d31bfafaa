#pragma once

#include "korvex/scene/scene_export.h"

// The VTK objects behind the scene's classes. The public headers name no VTK type, so
// the layers above stay free of VTK; the scene's own classes, its tests and its
// benchmarks reach the VTK side here.
//   vtkRenderer* renderer = VtkAccess::renderer(view);
//   auto* actor = VtkAccess::prop_as<vtkActor>(visual);

class vtkCamera;
class vtkGenericOpenGLRenderWindow;
class vtkProp;
class vtkRenderer;

namespace korvex::scene {

class SceneCanvas;
class TurntableCamera;
class ViewBox;
class Visual;

struct KORVEX_SCENE_EXPORT VtkAccess {
    static vtkProp* prop(const Visual& visual);
    // The prop as the type the visual made it with (unchecked).
    template <class Prop>
    static Prop* prop_as(const Visual& visual) {
        return static_cast<Prop*>(prop(visual));
    }
    static vtkRenderer* renderer(const ViewBox& view);
    static vtkCamera* camera(const TurntableCamera& camera);
    static vtkGenericOpenGLRenderWindow* render_window(const SceneCanvas& canvas);
};

}  // namespace korvex::scene
