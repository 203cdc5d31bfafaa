#pragma once

#include <QString>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// `text` as an error message may quote it: at most `limit` characters (then "..." and
// the full length), control characters escaped. A file's field can be megabytes long
// or hold NUL bytes; the message must stay one short, readable line.
KORVEX_UTILS_EXPORT QString excerpt(const QString& text, int limit = 40);

}  // namespace korvex::utils
