#pragma once

// A colour value of the scene: red, green, blue and alpha as floats 0..1.
// Views and visuals take and return it; `rgba()` gives the floats (saved with
// the view state), `RGBA()` the 0..255 integers (what Qt's colour dialog wants).
//   Color("white"), Color("#ff8000"), Color(0.2, 0.3, 0.4), Color::from_rgba({1, 0, 0, 0.5})

#include <QColor>
#include <QString>
#include <array>
#include <vector>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT Color {
public:
    // Transparent black.
    Color() = default;
    // Components outside 0..1 (or not finite) throw utils::ValueError.
    Color(double red, double green, double blue, double alpha = 1.0);
    // Any name or #hex form Qt understands; an unknown name throws utils::ValueError.
    explicit Color(const QString& name);

    // Three or four components 0..1; alpha defaults to 1. Throws utils::ValueError otherwise.
    static Color from_rgba(const std::vector<double>& components);
    static Color from_qcolor(const QColor& color);

    std::array<double, 4> rgba() const { return rgba_; }
    std::array<int, 4> RGBA() const;
    QColor to_qcolor() const;

    // This colour drawn over `below` (alpha compositing).
    Color over(const Color& below) const;
    // A grey that reads well on this colour: dark on light, light on dark.
    Color contrasting() const;

    bool operator==(const Color& other) const { return rgba_ == other.rgba_; }
    bool operator!=(const Color& other) const { return !(*this == other); }

private:
    std::array<double, 4> rgba_{0.0, 0.0, 0.0, 0.0};
};

}  // namespace korvex::scene
