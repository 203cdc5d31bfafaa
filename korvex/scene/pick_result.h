#pragma once

// What a scene canvas answers for a pixel: the visual drawn there, the scene point hit on
// it, and what the visual holds at that point once it has been queried.
//   PickResult pick = canvas.pick(pos);
//   if (pick.visual) pick.data = pick.visual->query_in_3d(canvas, event);
// The pickers behind it may change (an exact ray against a section's rectangle, say);
// callers only read these fields.

#include <QVariant>
#include <array>
#include <optional>

namespace korvex::scene {

class Visual;

struct PickResult {
    // nullptr over the background.
    Visual* visual = nullptr;
    // Scene coordinates, z before the view's vertical scale; absent where no surface is
    // under the pixel (a thin line found within a few pixels, say).
    std::optional<std::array<double, 3>> point;
    // The visual's own answer, in a type of its own; null until queried, or when it found
    // nothing to report.
    QVariant data;
};

}  // namespace korvex::scene
