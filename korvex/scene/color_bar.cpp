#include "korvex/scene/color_bar.h"

#include <vtkCoordinate.h>
#include <vtkLookupTable.h>
#include <vtkScalarBarActor.h>
#include <vtkSmartPointer.h>
#include <vtkTextProperty.h>

#include "korvex/scene/colormap.h"
#include "korvex/scene/private/lookup_table.h"

namespace korvex::scene {

namespace {

// Where the bar sits, as shares of the view: a narrow strip along the right edge.
constexpr double LEFT = 0.9;
constexpr double BOTTOM = 0.1;
constexpr double WIDTH = 0.08;
constexpr double HEIGHT = 0.5;
constexpr int FONT_SIZE = 12;

}  // namespace

ColorBar::ColorBar(const QString& colormap, const std::array<double, 2>& clim, const QString& title)
    : Visual(vtkSmartPointer<vtkScalarBarActor>::New()), colormap_(colormap), clim_(clim) {
    vtkScalarBarActor* bar = actor();
    bar->PickableOff();
    bar->SetTitle(title.toUtf8().constData());
    bar->SetNumberOfLabels(5);
    bar->SetLabelFormat("%-#6.3g");
    bar->GetPositionCoordinate()->SetCoordinateSystemToNormalizedViewport();
    bar->GetPositionCoordinate()->SetValue(LEFT, BOTTOM);
    bar->SetWidth(WIDTH);
    bar->SetHeight(HEIGHT);
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

vtkScalarBarActor* ColorBar::actor() const { return static_cast<vtkScalarBarActor*>(prop()); }

QString ColorBar::title() const { return QString::fromUtf8(actor()->GetTitle()); }

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
    actor()->SetLookupTable(make_lookup_table(colormap_, clim_));
    update();
}

void ColorBar::apply_background(const Color& shown) {
    if (!contrasts_with_background) return;
    const auto rgba = shown.contrasting().rgba();
    actor()->GetTitleTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor()->GetLabelTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    update();
}

}  // namespace korvex::scene
