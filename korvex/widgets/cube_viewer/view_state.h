#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

#include "korvex/scene/color.h"
#include "korvex/utils/ordered_map.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"

namespace korvex::widgets {

// What a cube viewer saves with the project, keys in this order:
//   "distance", "elevation", "azimuth", "fov"   numbers
//   "center"        three numbers
//   "bgcolor"       four numbers 0..1 (red, green, blue, alpha)
//   "aspect_method" text; "aspect_ratio" a number, or null when absent
using ViewState = utils::OrderedMap<QString, QVariant>;

// The camera and background values of a view state, each checked; absent keys stay absent.
struct ViewStateValues {
    std::optional<double> distance, elevation, azimuth, fov;
    std::optional<std::array<double, 3>> center;
    std::optional<scene::Color> bgcolor;
};

// Checks every camera and background value of `state` before any is used: numbers
// where numbers belong, a positive distance, a fov in [0, 180], three numbers for the
// centre, and for the background three or four numbers 0..1 or a colour name. The
// first bad value throws utils::ValueError naming its key. Other keys are ignored.
KORVEX_CUBE_VIEWER_EXPORT ViewStateValues read_view_state(const ViewState& state);

// The aspect pair of a view state. The ratio counts only with "Fixed", where it must be
// a number or null; with any other method it is ignored, whatever it holds.
struct AspectSetting {
    QString method;
    std::optional<double> ratio;
};

// Reads "aspect_method" (text), then "aspect_ratio". A missing key throws
// utils::LookupError naming it, a bad value utils::ValueError naming its key.
KORVEX_CUBE_VIEWER_EXPORT AspectSetting read_aspect(const ViewState& state);

// JSON text of a view state, its keys in the map's order. A value holding a number that
// is not finite is left out, so that the text always restores a usable camera.
KORVEX_CUBE_VIEWER_EXPORT QByteArray view_state_to_json(const ViewState& state);
// The view state in JSON text, keys in the text's order. Text that is not a JSON
// object throws utils::ValueError.
KORVEX_CUBE_VIEWER_EXPORT ViewState view_state_from_json(const QByteArray& json);

}  // namespace korvex::widgets
