#include "korvex/scene/color_bar.h"

#include <algorithm>

#include <vtkCoordinate.h>
#include <vtkLookupTable.h>
#include <vtkObjectFactory.h>
#include <vtkRenderer.h>
#include <vtkScalarBarActor.h>
#include <vtkSmartPointer.h>
#include <vtkTextProperty.h>

#include "korvex/scene/colormap.h"
#include "korvex/scene/private/color_bar_areas.h"
#include "korvex/scene/private/lookup_table.h"
#include "korvex/scene/private/vtk_access.h"

namespace korvex::scene {

namespace {

vtkScalarBarActor* actor(const ColorBar& bar) { return VtkAccess::prop_as<vtkScalarBarActor>(bar); }

constexpr int FONT_SIZE = 12;

// A scalar bar that takes its place among the view's bars before it is drawn: which
// bars a view shows changes as volumes come, go and are hidden. Once a frame is enough:
// the opaque pass comes first, and the bar lays itself out there for the overlay.
class StackedBar final : public vtkScalarBarActor {
public:
    static StackedBar* New();
    vtkTypeMacro(StackedBar, vtkScalarBarActor)

        int RenderOpaqueGeometry(vtkViewport* viewport) override {
        take_place(viewport);
        return vtkScalarBarActor::RenderOpaqueGeometry(viewport);
    }

private:
    StackedBar() = default;

    void take_place(vtkViewport* viewport) {
        auto* renderer = vtkRenderer::SafeDownCast(viewport);
        if (!renderer) return;
        const auto bars = shown_color_bars(renderer);
        const auto index = std::size_t(std::find(bars.begin(), bars.end(), this) - bars.begin());
        const auto [left, bottom, width, height] = color_bar_slot(index, bars.size());
        GetPositionCoordinate()->SetValue(left, bottom);
        SetWidth(width);
        SetHeight(height);
    }
};

vtkStandardNewMacro(StackedBar);

}  // namespace

ColorBar::ColorBar(const QString& colormap, const std::array<double, 2>& clim, const QString& title)
    : Visual(vtkSmartPointer<StackedBar>::New()), colormap_(colormap), clim_(clim) {
    vtkScalarBarActor* bar = actor(*this);
    bar->PickableOff();
    bar->SetTitle(title.toUtf8().constData());
    bar->SetNumberOfLabels(5);
    bar->SetLabelFormat("%-#6.3g");
    bar->GetPositionCoordinate()->SetCoordinateSystemToNormalizedViewport();
    bar->UnconstrainedFontSizeOn();
    for (vtkTextProperty* text : {bar->GetTitleTextProperty(), bar->GetLabelTextProperty()}) {
        text->SetFontSize(FONT_SIZE);
        text->ShadowOff();
        text->ItalicOff();
    }
    frames_view = false;
    contrasts_with_background = true;
    use_table();
}

QString ColorBar::title() const { return QString::fromUtf8(actor(*this)->GetTitle()); }

void ColorBar::set_colormap(const QString& colormap) {
    make_lookup_table(colormap, clim_);  // validates before anything changes
    colormap_ = colormap;
    use_table();
}

void ColorBar::set_clim(const std::array<double, 2>& clim) {
    make_lookup_table(colormap_, clim);
    clim_ = clim;
    use_table();
}

void ColorBar::use_table() {
    actor(*this)->SetLookupTable(make_lookup_table(colormap_, clim_));
    update();
}

void ColorBar::apply_background(const Color& shown) {
    if (!contrasts_with_background) return;
    const auto rgba = shown.contrasting().rgba();
    actor(*this)->GetTitleTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor(*this)->GetLabelTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    update();
}

}  // namespace korvex::scene
