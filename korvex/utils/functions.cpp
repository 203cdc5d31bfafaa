#include "korvex/utils/functions.h"

namespace korvex::utils {

void save_display_state(DisplayState& dpState, const QString& object, const QString& section,
                        const QString& entry, bool value) {
    dpState[object][section][entry] = value;
}

}  // namespace korvex::utils
