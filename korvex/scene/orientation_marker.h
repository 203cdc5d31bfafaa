#pragma once

// The compass of a view: three arrows in a corner, east (red), north (green) and up
// (blue), turned as the camera looks at the scene but always of the same size, so the
// directions read at any zoom. Its north arrow is the map's north arrow. Drawn over the
// lower left corner of the canvas; it is no part of the scene: never picked, never framed.
//   OrientationMarker compass(*canvas.view());

#include <array>
#include <memory>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class ViewBox;

class KORVEX_SCENE_EXPORT OrientationMarker final {
public:
    explicit OrientationMarker(ViewBox& view);
    ~OrientationMarker();
    OrientationMarker(const OrientationMarker&) = delete;
    OrientationMarker& operator=(const OrientationMarker&) = delete;

    // The corner it takes, in device pixels of the canvas (origin bottom left): x, y, width,
    // height, as of the last frame.
    std::array<int, 4> corner() const;

private:
    struct Internals;
    std::unique_ptr<Internals> internals_;
};

}  // namespace korvex::scene
