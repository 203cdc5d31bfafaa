#pragma once

// What the VTK camera behind a view does, read one way for every test: those of the
// layers above the scene cannot see VTK themselves.

#include <array>

namespace korvex::scene {
class TurntableCamera;
class ViewBox;
}  // namespace korvex::scene

namespace korvex::testing {

// Where the camera looks, rounded to nine decimals (so that -0 and 1e-17 read as 0).
std::array<double, 3> direction_of_projection(const scene::TurntableCamera& camera);
bool parallel_projection(const scene::TurntableCamera& camera);
// The perspective angle the camera draws with, in degrees.
double view_angle(const scene::TurntableCamera& camera);
// Whether every corner of the box (xmin, xmax, ymin, ymax, zmin, zmax) projects inside
// the view's viewport.
bool in_sight(const scene::ViewBox& view, const std::array<double, 6>& box);

}  // namespace korvex::testing
