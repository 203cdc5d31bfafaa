#include "korvex/scene/private/vtk_access.h"

#include <vtkRenderer.h>

#include "korvex/scene/private/scene_canvas_internals.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

vtkProp* VtkAccess::prop(const Visual& visual) { return visual.prop_; }

vtkRenderer* VtkAccess::renderer(const ViewBox& view) { return view.renderer_; }

vtkCamera* VtkAccess::camera(const TurntableCamera& camera) {
    return camera.view_.renderer_->GetActiveCamera();
}

vtkGenericOpenGLRenderWindow* VtkAccess::render_window(const SceneCanvas& canvas) {
    return canvas.internals_->render_window;
}

}  // namespace korvex::scene
