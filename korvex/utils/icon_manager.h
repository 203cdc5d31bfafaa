#pragma once

#include <QIcon>
#include <QString>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// The application's icon of that name, drawn from the bundled SVG set. An unknown
// name is logged as a warning and gives a null icon.
KORVEX_UTILS_EXPORT QIcon icon(const QString& name);

}  // namespace korvex::utils
