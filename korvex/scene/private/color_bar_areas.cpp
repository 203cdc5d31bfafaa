#include "korvex/scene/private/color_bar_areas.h"

#include <algorithm>

#include <vtkPropCollection.h>
#include <vtkRenderer.h>
#include <vtkScalarBarActor.h>

namespace korvex::scene {

namespace {

// The strip the bars share, as shares of the view.
constexpr double RIGHT = 0.98;
constexpr double BOTTOM = 0.1;
constexpr double TOP = 0.9;
constexpr double WIDTH = 0.08;
// One bar alone keeps its customary height rather than the whole strip.
constexpr double TALLEST = 0.5;
constexpr double GAP = 0.04;
constexpr std::size_t PER_COLUMN = 3;

}  // namespace

std::vector<vtkScalarBarActor*> shown_color_bars(vtkRenderer* renderer) {
    std::vector<vtkScalarBarActor*> bars;
    vtkPropCollection* props = renderer->GetViewProps();
    vtkCollectionSimpleIterator it;
    props->InitTraversal(it);
    while (vtkProp* prop = props->GetNextProp(it))
        if (auto* bar = vtkScalarBarActor::SafeDownCast(prop); bar && bar->GetVisibility())
            bars.push_back(bar);
    return bars;
}

std::array<double, 4> color_bar_slot(std::size_t index, std::size_t count) {
    const std::size_t rows = std::clamp<std::size_t>(count, 1, PER_COLUMN);
    const double height = std::min(TALLEST, (TOP - BOTTOM - GAP * double(rows - 1)) / double(rows));
    const std::size_t column = index / PER_COLUMN;
    const std::size_t row = index % PER_COLUMN;
    return {RIGHT - WIDTH - double(column) * (WIDTH + GAP), BOTTOM + double(row) * (height + GAP),
            WIDTH, height};
}

std::vector<QRectF> color_bar_areas(vtkRenderer* renderer) {
    const auto bars = shown_color_bars(renderer);
    const int* origin = renderer->GetOrigin();
    const int* size = renderer->GetSize();
    std::vector<QRectF> areas;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto [left, bottom, width, height] = color_bar_slot(i, bars.size());
        areas.emplace_back(origin[0] + left * size[0], origin[1] + bottom * size[1],
                           width * size[0], height * size[1]);
    }
    return areas;
}

}  // namespace korvex::scene
