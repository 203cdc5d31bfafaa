#include "korvex/scene/text_visual.h"

#include <vtkBillboardTextActor3D.h>
#include <vtkSmartPointer.h>
#include <vtkTextProperty.h>

#include "korvex/scene/private/vtk_access.h"

namespace korvex::scene {

namespace {

vtkBillboardTextActor3D* actor(const TextVisual& visual) {
    return VtkAccess::prop_as<vtkBillboardTextActor3D>(visual);
}

}  // namespace

TextVisual::TextVisual(const QString& text, const Point3& position, const Color& color,
                       int font_size)
    : Visual(vtkSmartPointer<vtkBillboardTextActor3D>::New()) {
    actor(*this)->PickableOff();
    actor(*this)->GetTextProperty()->SetJustificationToCentered();
    actor(*this)->GetTextProperty()->SetVerticalJustificationToCentered();
    set_text(text);
    set_position(position);
    set_color(color);
    set_font_size(font_size);
}

void TextVisual::set_text(const QString& text) {
    actor(*this)->SetInput(text.toUtf8().constData());
    update();
}

QString TextVisual::label() const { return QString::fromUtf8(actor(*this)->GetInput()); }

void TextVisual::set_position(const Point3& position) {
    position_ = position;
    place();
}

void TextVisual::apply_z_scale(double factor) {
    z_scale_ = factor;
    place();
}

void TextVisual::place() {
    actor(*this)->SetPosition(position_[0], position_[1], position_[2] * z_scale_);
    update();
}

void TextVisual::set_color(const Color& color) {
    const auto rgba = color.rgba();
    actor(*this)->GetTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor(*this)->GetTextProperty()->SetOpacity(rgba[3]);
    update();
}

void TextVisual::set_font_size(int font_size) {
    actor(*this)->GetTextProperty()->SetFontSize(font_size);
    update();
}

void TextVisual::apply_background(const Color& shown) {
    if (contrasts_with_background) set_color(shown.contrasting());
}

}  // namespace korvex::scene
