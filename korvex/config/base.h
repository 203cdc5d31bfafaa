#pragma once

#include <QString>

class QCoreApplication;

namespace korvex::config {

// Context under which every user-visible text of the application is translated.
inline constexpr const char* TRANSLATION_CONTEXT = "korvex";

// The display text for `text`; the text itself when no translation is installed.
QString _(const char* text);
QString _(const QString& text);

// Installs the catalogue korvex_<locale>.qm found next to the executable (in
// ../translations), if there is one. Returns whether a catalogue was loaded.
bool install_translator(QCoreApplication& app, const QString& locale_name);

}  // namespace korvex::config
