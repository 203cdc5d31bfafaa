#pragma once

#include <QString>
#include <optional>

#include "korvex/utils/ordered_map.h"
#include "korvex/utils/utils_export.h"

// Environment files (".env"): KEY=VALUE lines, read as python-dotenv 0.21 reads them
// (see DotenvParser), with ${VAR} and ${VAR:-default} expanded in every value, single-
// quoted ones included. ${VAR} sees the variables of the file defined above it and the
// process environment; a default is used only when VAR is defined in neither.
namespace korvex::utils {

// Which definition ${VAR} takes when VAR is both earlier in the file and in the
// process environment.
enum class DotenvPrecedence { File, Environment };

// Keys in file order (a repeated key keeps its first place and its last value);
// a key without "=" has no value.
using DotenvValues = OrderedMap<QString, std::optional<QString>>;

// The values of an environment file, leaving the process environment alone. A
// missing path gives nothing, silently; a file that cannot be read or is not UTF-8
// gives nothing, with a warning; a statement that cannot be parsed is skipped with a
// warning naming its line.
KORVEX_UTILS_EXPORT DotenvValues
dotenv_values(const QString& dotenv_path, DotenvPrecedence precedence = DotenvPrecedence::File);

// Sets the file's variables in the process environment. Variables already set keep
// their values (and ${VAR} sees those), keys without a value are not set. Returns
// whether the file defined anything.
KORVEX_UTILS_EXPORT bool load_dotenv(const QString& dotenv_path);

}  // namespace korvex::utils
