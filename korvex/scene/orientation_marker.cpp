#include "korvex/scene/orientation_marker.h"

#include <algorithm>

#include <vtkAxesActor.h>
#include <vtkCallbackCommand.h>
#include <vtkCamera.h>
#include <vtkCaptionActor2D.h>
#include <vtkGenericOpenGLRenderWindow.h>
#include <vtkProperty.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkTextActor.h>
#include <vtkTextProperty.h>

#include "korvex/config/base.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace korvex::scene {

namespace {

// The corner's side: a fifth of the canvas's shorter side, within these bounds (device
// pixels), and its distance from the canvas's edges. Small pictures keep their middle free.
constexpr double SHARE = 0.2;
constexpr int SMALLEST = 40;
constexpr int LARGEST = 110;
constexpr int MARGIN = 6;
constexpr int FONT_SIZE = 12;

// One arrow and its label in one colour.
void paint(vtkProperty* shaft, vtkProperty* tip, vtkCaptionActor2D* caption,
           std::array<double, 3> color) {
    // Lit mostly by ambient light: the same colour from any side.
    for (vtkProperty* part : {shaft, tip}) {
        part->SetColor(color.data());
        part->SetAmbient(0.7);
        part->SetDiffuse(0.3);
        part->SetSpecular(0.0);
    }
    caption->BorderOff();
    caption->LeaderOff();
    // The label keeps its font size whatever the corner's size.
    caption->GetTextActor()->SetTextScaleModeToNone();
    // Centred on the point past the tip (the caption's corner is offset from it).
    caption->SetPosition(-0.4 * FONT_SIZE, -0.5 * FONT_SIZE);
    vtkTextProperty* font = caption->GetCaptionTextProperty();
    font->SetFontSize(FONT_SIZE);
    font->BoldOn();
    font->ItalicOff();
    font->ShadowOff();
    font->SetColor(color.data());
}

}  // namespace

struct OrientationMarker::Internals {
    ViewBox* view = nullptr;
    vtkSmartPointer<vtkRenderer> corner = vtkSmartPointer<vtkRenderer>::New();
    vtkSmartPointer<vtkAxesActor> arrows = vtkSmartPointer<vtkAxesActor>::New();
    vtkSmartPointer<vtkCallbackCommand> follow = vtkSmartPointer<vtkCallbackCommand>::New();
    std::array<int, 4> pixels{};

    // Before the corner is drawn, after the view (a higher layer draws later): the view's
    // camera is in place for this frame.
    static void on_start(vtkObject*, unsigned long, void* client_data, void*) {
        try {
            static_cast<Internals*>(client_data)->follow_view();
        } catch (...) {
            // A VTK callback: the corner keeps the previous frame's turn.
        }
    }

    void follow_view() {
        vtkRenderWindow* window = corner->GetRenderWindow();
        if (!window) return;
        const int* size = window->GetSize();
        if (size[0] <= 0 || size[1] <= 0) return;
        const int side = std::clamp(int(SHARE * std::min(size[0], size[1])), SMALLEST, LARGEST);
        pixels = {MARGIN, MARGIN, side, side};
        corner->SetViewport(double(MARGIN) / size[0], double(MARGIN) / size[1],
                            double(MARGIN + side) / size[0], double(MARGIN + side) / size[1]);

        vtkCamera* seen = VtkAccess::camera(view->camera());
        const double* direction = seen->GetDirectionOfProjection();
        vtkCamera* own = corner->GetActiveCamera();
        own->SetFocalPoint(0.0, 0.0, 0.0);
        own->SetPosition(-5.0 * direction[0], -5.0 * direction[1], -5.0 * direction[2]);
        own->SetViewUp(seen->GetViewUp());
        own->ParallelProjectionOn();
        // Arrows of unit length and their labels fit the corner from any side.
        own->SetParallelScale(1.7);
        corner->ResetCameraClippingRange();
    }
};

OrientationMarker::OrientationMarker(ViewBox& view) : internals_(std::make_unique<Internals>()) {
    Internals& in = *internals_;
    in.view = &view;
    vtkAxesActor* arrows = in.arrows;
    arrows->SetTotalLength(1.0, 1.0, 1.0);
    arrows->SetShaftTypeToCylinder();
    arrows->SetNormalizedTipLength(0.3, 0.3, 0.3);
    arrows->SetNormalizedShaftLength(0.7, 0.7, 0.7);
    arrows->SetCylinderRadius(0.06);
    arrows->SetConeRadius(0.45);
    arrows->PickableOff();
    arrows->SetXAxisLabelText(config::_("E").toUtf8().constData());
    arrows->SetYAxisLabelText(config::_("N").toUtf8().constData());
    arrows->SetZAxisLabelText(config::_("up").toUtf8().constData());
    arrows->SetNormalizedLabelPosition(1.4, 1.4, 1.4);
    paint(arrows->GetXAxisShaftProperty(), arrows->GetXAxisTipProperty(),
          arrows->GetXAxisCaptionActor2D(), {0.85, 0.0, 0.0});
    paint(arrows->GetYAxisShaftProperty(), arrows->GetYAxisTipProperty(),
          arrows->GetYAxisCaptionActor2D(), {0.0, 0.6, 0.0});
    paint(arrows->GetZAxisShaftProperty(), arrows->GetZAxisTipProperty(),
          arrows->GetZAxisCaptionActor2D(), {0.0, 0.0, 0.9});

    in.corner->SetLayer(1);
    in.corner->InteractiveOff();
    in.corner->AddViewProp(arrows);
    in.follow->SetCallback(&Internals::on_start);
    in.follow->SetClientData(&in);
    in.corner->AddObserver(vtkCommand::StartEvent, in.follow);

    vtkGenericOpenGLRenderWindow* window = VtkAccess::render_window(view.canvas());
    window->SetNumberOfLayers(std::max(window->GetNumberOfLayers(), 2));
    window->AddRenderer(in.corner);
}

OrientationMarker::~OrientationMarker() {
    internals_->corner->RemoveAllObservers();
    if (vtkRenderWindow* window = internals_->corner->GetRenderWindow())
        window->RemoveRenderer(internals_->corner);
}

std::array<int, 4> OrientationMarker::corner() const { return internals_->pixels; }

}  // namespace korvex::scene
