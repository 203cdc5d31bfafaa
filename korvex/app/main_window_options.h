#pragma once

#include <QString>
#include <optional>

namespace korvex::app {

// How the main window is started.
struct MainWindowOptions {
    // Folder searched for plug-ins; by default the one the build installs them into.
    QString plugins_paths = QStringLiteral(KORVEX_PLUGIN_DIR);
    // Where file dialogs and the shell start; absent: the process's current directory.
    std::optional<QString> working_directory;
    // Also sends Qt's own diagnostics to the application log.
    bool debug = false;
};

}  // namespace korvex::app
