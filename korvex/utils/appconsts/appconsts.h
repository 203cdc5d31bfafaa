#pragma once

#include <QString>
#include <array>
#include <chrono>
#include <optional>
#include <vector>

#include "korvex/utils/ordered_map.h"

// Application-wide constants. The environment and the processor count are read once,
// when the library is loaded; later changes of the environment are not seen.
namespace korvex::utils::appconsts {

extern const std::chrono::seconds LMT_LST_DELTA;
extern const std::optional<int> NCORE;
extern const long long SQLITE_LIMIT_LENGTH;
extern const std::optional<QString> JAVASEIS_DATA_HOME;
// One element, the variable's whole value (never split), or absent when unset.
extern std::vector<std::optional<QString>> JAVASEIS_DATA_SECONDARIES;
extern const QString SURVEY_BOX_LINE;
extern const QString SURVEY_BOX_LABEL;
extern const std::array<QString, 3> SECTION_TYPES;
extern const QString FILTER_ALL_FILES;
extern const std::array<QString, 3> COORDINATE_PROPERTY_NAMES;
extern const std::array<QString, 18> DEFAULT_PROPERTY_NAMES;
// Looked up by a delimiter's name or by the character itself.
extern const OrderedMap<QString, QString> DELIMITER2CHAR;

}  // namespace korvex::utils::appconsts
