#pragma once

#include <array>

#include "korvex/scene/item.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app::data {

// The outline of a survey in the scene: the twelve edges of its box (a visual named
// SURVEY_BOX_LINE) and labels at its corners (named SURVEY_BOX_LABEL) giving the line
// numbers on top and the time at the bottom.
class SurveyBox final {
public:
    // `bounds`: inline min/max, crossline min/max, z min/max (z = -time). The item is a
    // list: the outline, then the list of labels.
    static scene::Item make(host::DataObject& owner, const std::array<double, 6>& bounds);
};

}  // namespace korvex::app::data
