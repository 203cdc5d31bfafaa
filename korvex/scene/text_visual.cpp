#include "korvex/scene/text_visual.h"

#include <vtkBillboardTextActor3D.h>
#include <vtkSmartPointer.h>
#include <vtkTextProperty.h>

namespace korvex::scene {

TextVisual::TextVisual(const QString& text, const Point3& position, const Color& color,
                       int font_size)
    : Visual(vtkSmartPointer<vtkBillboardTextActor3D>::New()) {
    actor()->PickableOff();
    actor()->GetTextProperty()->SetJustificationToCentered();
    actor()->GetTextProperty()->SetVerticalJustificationToCentered();
    set_text(text);
    set_position(position);
    set_color(color);
    set_font_size(font_size);
}

vtkBillboardTextActor3D* TextVisual::actor() const {
    return static_cast<vtkBillboardTextActor3D*>(prop());
}

void TextVisual::set_text(const QString& text) {
    actor()->SetInput(text.toUtf8().constData());
    update();
}

QString TextVisual::label() const { return QString::fromUtf8(actor()->GetInput()); }

void TextVisual::set_position(const Point3& position) {
    position_ = position;
    place();
}

void TextVisual::apply_z_scale(double factor) {
    z_scale_ = factor;
    place();
}

void TextVisual::place() {
    actor()->SetPosition(position_[0], position_[1], position_[2] * z_scale_);
    update();
}

void TextVisual::set_color(const Color& color) {
    const auto rgba = color.rgba();
    actor()->GetTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    actor()->GetTextProperty()->SetOpacity(rgba[3]);
    update();
}

void TextVisual::set_font_size(int font_size) {
    actor()->GetTextProperty()->SetFontSize(font_size);
    update();
}

void TextVisual::apply_background(const Color& shown) {
    if (contrasts_with_background) set_color(shown.contrasting());
}

}  // namespace korvex::scene
