#pragma once

// A text label at a world point, always facing the viewer and of constant pixel
// size (survey corner labels, well names). Not pickable.
//   TextVisual label("IL 100 / XL 200", {x, y, z}, Color("black"), 14);

#include <QString>

#include "korvex/scene/color.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT TextVisual final : public Visual {
public:
    TextVisual(const QString& text, const Point3& position, const Color& color, int font_size = 12);

    void set_text(const QString& text);
    QString label() const;
    void set_position(const Point3& position);
    void set_color(const Color& color);
    void apply_background(const Color& shown) override;
    void set_font_size(int font_size);
    // The anchor moves with the scale; the text keeps its pixel size.
    void apply_z_scale(double factor) override;

protected:
    const char* type_name() const override { return "TextVisual"; }

private:
    void place();

    Point3 position_{};
    double z_scale_ = 1.0;
};

}  // namespace korvex::scene
