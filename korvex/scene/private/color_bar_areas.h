#pragma once

// Where the colour bars shown in a view go, so that several never overlap: one column at
// the right edge of the view, filled from the bottom in the order the bars were added,
// and further columns to its left when one holds no more. Each bar takes its place as it
// is drawn; other annotation keeps clear of the places taken.

#include <QRectF>
#include <array>
#include <cstddef>
#include <vector>

class vtkRenderer;
class vtkScalarBarActor;

namespace korvex::scene {

// The visible colour bars of `renderer`, in the order they were added.
std::vector<vtkScalarBarActor*> shown_color_bars(vtkRenderer* renderer);

// Bar `index` of `count`: left, bottom, width and height as shares of the view.
std::array<double, 4> color_bar_slot(std::size_t index, std::size_t count);

// The places of the shown bars, in display pixels (origin bottom left).
std::vector<QRectF> color_bar_areas(vtkRenderer* renderer);

}  // namespace korvex::scene
