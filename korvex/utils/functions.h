#pragma once

#include <QString>
#include <map>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// What a viewer shows: object name -> "object" / "properties" / "sections" -> entry -> shown.
using DisplayState = std::map<QString, std::map<QString, std::map<QString, bool>>>;

// Sets dpState[object][section][entry] = value, creating the inner maps when missing
// and leaving every other entry as it was.
KORVEX_UTILS_EXPORT void save_display_state(DisplayState& dpState, const QString& object,
                                            const QString& section, const QString& entry,
                                            bool value);

// Whether dpState[object][section][entry] is present and true.
KORVEX_UTILS_EXPORT bool is_shown(const DisplayState& dpState, const QString& object,
                                  const QString& section, const QString& entry);

}  // namespace korvex::utils
