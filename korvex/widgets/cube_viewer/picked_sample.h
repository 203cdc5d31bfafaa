#pragma once

#include <QMetaType>
#include <QString>
#include <array>
#include <cmath>
#include <optional>

namespace korvex::widgets {

// One sample of a volume picked in a viewer: where it is in the survey, its amplitude,
// and the scene point (z before the vertical scale) where a marker shows it.
struct PickedSample {
    QString volume;
    int iline = 0;
    int xline = 0;
    double time = 0.0;
    // Map coordinates of the trace, when the survey's are known.
    std::optional<double> map_x;
    std::optional<double> map_y;
    // NaN where the file holds none for the sample.
    double amplitude = 0.0;
    std::array<double, 3> position{};

    bool operator==(const PickedSample& other) const {
        return volume == other.volume && iline == other.iline && xline == other.xline &&
               time == other.time && map_x == other.map_x && map_y == other.map_y &&
               (amplitude == other.amplitude ||
                (std::isnan(amplitude) && std::isnan(other.amplitude))) &&
               position == other.position;
    }
};

}  // namespace korvex::widgets

Q_DECLARE_METATYPE(korvex::widgets::PickedSample)
