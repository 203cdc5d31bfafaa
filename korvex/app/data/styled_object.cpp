#include "korvex/app/data/styled_object.h"

namespace korvex::app::data {

StyledObject::~StyledObject() = default;

}  // namespace korvex::app::data
