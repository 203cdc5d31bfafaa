#pragma once

// Three unit segments from the origin: x red, y green, z blue. Every canvas of the
// viewer shows one; it carries no pick interface.

#include "korvex/scene/line_visual.h"
#include "korvex/scene/scene_export.h"

namespace korvex::scene {

class KORVEX_SCENE_EXPORT XYZAxis final : public LineVisual {
public:
    XYZAxis();

protected:
    const char* type_name() const override { return "XYZAxis"; }
};

}  // namespace korvex::scene
