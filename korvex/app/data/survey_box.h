#pragma once

#include <QString>
#include <array>

#include "korvex/scene/item.h"
#include "korvex/scene/placement.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app::data {

// The outline of a survey in the scene: the twelve edges of its box (a visual named
// SURVEY_BOX_LINE), tick marks and numbers along its edges for inline, crossline and
// time (named SURVEY_BOX_LABEL), and the colour bar of the volume's colours. Outline and
// numbers contrast with the background.
class SurveyBox final {
public:
    // `bounds`: inline min/max, crossline min/max, z min/max (z = -time), placed on the
    // map by `placement`: the outline and its numbers run along the survey's own edges.
    // The item is a list: the outline, the axes, the colour bar.
    static scene::Item make(host::DataObject& owner, const std::array<double, 6>& bounds,
                            const scene::Placement& placement, const QString& colormap,
                            double clip);
    // Fits an item make() gave to other bounds, where it is drawn.
    static void reshape(const scene::Item& item, const std::array<double, 6>& bounds);
};

}  // namespace korvex::app::data
