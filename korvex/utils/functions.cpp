#include "korvex/utils/functions.h"

namespace korvex::utils {

void save_display_state(DisplayState& dpState, const QString& object, const QString& section,
                        const QString& entry, bool value) {
    dpState[object][section][entry] = value;
}

bool is_shown(const DisplayState& dpState, const QString& object, const QString& section,
              const QString& entry) {
    const auto by_object = dpState.find(object);
    if (by_object == dpState.end()) return false;
    const auto by_section = by_object->second.find(section);
    if (by_section == by_object->second.end()) return false;
    const auto by_entry = by_section->second.find(entry);
    return by_entry != by_section->second.end() && by_entry->second;
}

}  // namespace korvex::utils
