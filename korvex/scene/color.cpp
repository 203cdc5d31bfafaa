#include "korvex/scene/color.h"

#include <algorithm>
#include <cmath>

#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

Color::Color(double red, double green, double blue, double alpha) : rgba_{red, green, blue, alpha} {
    for (double component : rgba_) {
        if (!std::isfinite(component) || component < 0.0 || component > 1.0) {
            throw utils::ValueError(
                utils::format("colour components must lie in 0..1, got ({}, {}, {}, {})", red,
                              green, blue, alpha)
                    .toStdString());
        }
    }
}

Color::Color(const QString& name) {
    const QColor color(name);
    if (!color.isValid()) {
        throw utils::ValueError(utils::format("'{}' is not a colour", name).toStdString());
    }
    *this = from_qcolor(color);
}

Color Color::from_rgba(const std::vector<double>& components) {
    if (components.size() == 3) return Color(components[0], components[1], components[2]);
    if (components.size() == 4) {
        return Color(components[0], components[1], components[2], components[3]);
    }
    throw utils::ValueError(
        utils::format("a colour has 3 or 4 components, got {}", components.size()).toStdString());
}

Color Color::from_qcolor(const QColor& color) {
    qreal red = 0, green = 0, blue = 0, alpha = 0;
    color.getRgbF(&red, &green, &blue, &alpha);
    return Color(red, green, blue, alpha);
}

std::array<int, 4> Color::RGBA() const {
    std::array<int, 4> result{};
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<int>(std::lround(rgba_[i] * 255.0));
    }
    return result;
}

QColor Color::to_qcolor() const { return QColor::fromRgbF(rgba_[0], rgba_[1], rgba_[2], rgba_[3]); }

Color Color::over(const Color& below) const {
    const double alpha = rgba_[3] + below.rgba_[3] * (1.0 - rgba_[3]);
    if (alpha <= 0.0) return Color();
    std::array<double, 3> rgb{};
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = (rgba_[i] * rgba_[3] + below.rgba_[i] * below.rgba_[3] * (1.0 - rgba_[3])) / alpha;
    }
    return Color(std::clamp(rgb[0], 0.0, 1.0), std::clamp(rgb[1], 0.0, 1.0),
                 std::clamp(rgb[2], 0.0, 1.0), std::clamp(alpha, 0.0, 1.0));
}

}  // namespace korvex::scene

namespace korvex::scene {

Color Color::contrasting() const {
    // Relative luminance of the (opaque) colour, as the eye weighs the channels.
    const double luminance = 0.2126 * rgba_[0] + 0.7152 * rgba_[1] + 0.0722 * rgba_[2];
    return luminance > 0.5 ? Color(0.12, 0.12, 0.12) : Color(0.9, 0.9, 0.9);
}

}  // namespace korvex::scene
