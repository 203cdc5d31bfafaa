#pragma once

#include <QString>

#include "korvex/config/config_export.h"

class QCoreApplication;

namespace korvex::config {

// Context under which every user-visible text of the application is translated.
inline constexpr const char* TRANSLATION_CONTEXT = "korvex";

// The display text for `text`; the text itself when no translation is installed.
KORVEX_CONFIG_EXPORT QString _(const char* text);
KORVEX_CONFIG_EXPORT QString _(const QString& text);

// Installs the catalogue korvex_<locale>.qm found next to the executable (in
// ../translations), if there is one. Returns whether a catalogue was loaded.
KORVEX_CONFIG_EXPORT bool install_translator(QCoreApplication& app, const QString& locale_name);

}  // namespace korvex::config
