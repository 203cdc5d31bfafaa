#pragma once

// The camera of a view: orbits around `center`, z up.
//   azimuth   degrees; 0 looks from the south (-y) towards +y, 90 from the east
//   elevation degrees; 90 looks straight down. Mouse drags keep it in [-90, 90];
//             a value set directly is kept as given (beyond 90 looks over the top)
//   fov       degrees in [0, 180]; 0 is an orthographic projection
//   scale_factor  the world extent visible across the window's shorter side at the centre
// Every setter updates the VTK camera at once and asks for a redraw. The mouse
// gestures (orbit, zoom, pan, change_fov) are what the interactor style calls.

#include <array>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class ViewBox;

class KORVEX_SCENE_EXPORT TurntableCamera {
public:
    static constexpr double DEFAULT_FOV = 45.0;
    static constexpr double DEFAULT_ELEVATION = 30.0;
    static constexpr double DEFAULT_AZIMUTH = 30.0;
    static constexpr double DEFAULT_MARGIN = 0.05;

    explicit TurntableCamera(ViewBox& view);

    double azimuth() const { return azimuth_; }
    void set_azimuth(double degrees);
    double elevation() const { return elevation_; }
    // Throws utils::ValueError unless finite.
    void set_elevation(double degrees);
    double fov() const { return fov_; }
    // Throws utils::ValueError outside [0, 180].
    void set_fov(double degrees);
    double scale_factor() const { return scale_factor_; }
    // Throws utils::ValueError unless positive and finite.
    void set_scale_factor(double value);
    std::array<double, 3> center() const { return center_; }
    // Throws utils::ValueError unless finite.
    void set_center(const std::array<double, 3>& center);

    // Fits the bounds of what is visible in the view, grown by `margin` on each side, so
    // that the box stays in sight under any rotation. Visuals that do not frame the view
    // (the XYZ axis) count only when nothing else is visible. No-op on an empty view.
    void set_range(double margin = DEFAULT_MARGIN);
    // The world bounds that set_range fits; uninitialised (min > max) on an empty view.
    std::array<double, 6> fitted_bounds() const;

    // Mouse gestures, in pixels of the view (x right, y up).
    void orbit(double dx, double dy);
    void zoom(double factor);
    void pan(double dx, double dy);
    void change_fov(double dy);

    // Puts the turntable parameters on the VTK camera for the view's current size.
    void apply() const;

private:
    friend struct VtkAccess;
    void changed() const;
    // Distance from the centre to the farthest corner of what the view shows; 0 when empty.
    double scene_radius() const;
    // World units per pixel at the centre.
    double world_per_pixel() const;

    ViewBox& view_;
    double azimuth_ = DEFAULT_AZIMUTH;
    double elevation_ = DEFAULT_ELEVATION;
    double fov_ = DEFAULT_FOV;
    double scale_factor_ = 1.0;
    std::array<double, 3> center_{0.0, 0.0, 0.0};
};

}  // namespace korvex::scene
