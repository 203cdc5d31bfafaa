#pragma once

#include <QString>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// Puts the picture stored at `path` on the system clipboard: the image itself, for
// pasting into documents, and the file's URL, for pasting into file managers.
// A file that is not a readable picture throws utils::ValueError; the clipboard is
// then left as it was.
KORVEX_UTILS_EXPORT void copy_to_clipboard(const QString& path);

}  // namespace korvex::utils
