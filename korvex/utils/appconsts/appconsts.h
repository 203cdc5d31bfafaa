#pragma once

#include <QString>
#include <array>
#include <chrono>
#include <optional>
#include <vector>

#include "korvex/utils/appconsts/appconsts_export.h"
#include "korvex/utils/ordered_map.h"

// Application-wide constants. The environment and the processor count are read once,
// when the library is loaded; later changes of the environment are not seen.
namespace korvex::utils::appconsts {

KORVEX_APPCONSTS_EXPORT extern const std::chrono::seconds LMT_LST_DELTA;
KORVEX_APPCONSTS_EXPORT extern const std::optional<int> NCORE;
KORVEX_APPCONSTS_EXPORT extern const long long SQLITE_LIMIT_LENGTH;
KORVEX_APPCONSTS_EXPORT extern const std::optional<QString> JAVASEIS_DATA_HOME;
// One element, the variable's whole value (never split), or absent when unset.
KORVEX_APPCONSTS_EXPORT extern std::vector<std::optional<QString>> JAVASEIS_DATA_SECONDARIES;
KORVEX_APPCONSTS_EXPORT extern const QString SURVEY_BOX_LINE;
KORVEX_APPCONSTS_EXPORT extern const QString SURVEY_BOX_LABEL;
KORVEX_APPCONSTS_EXPORT extern const std::array<QString, 3> SECTION_TYPES;
KORVEX_APPCONSTS_EXPORT extern const QString FILTER_ALL_FILES;
KORVEX_APPCONSTS_EXPORT extern const std::array<QString, 3> COORDINATE_PROPERTY_NAMES;
KORVEX_APPCONSTS_EXPORT extern const std::array<QString, 18> DEFAULT_PROPERTY_NAMES;
// Looked up by a delimiter's name or by the character itself.
KORVEX_APPCONSTS_EXPORT extern const OrderedMap<QString, QString> DELIMITER2CHAR;

}  // namespace korvex::utils::appconsts
