#pragma once

#include <QString>
#include <optional>

#include "korvex/app/window/plugin_manager.h"

namespace korvex::app {

// How the main window is started.
struct MainWindowOptions {
    // Folders searched for plug-ins, separated by QDir::listSeparator(); by default the
    // application's own.
    QString plugins_paths = PluginManager::shipped_folder();
    // Where file dialogs and the shell start; absent: the process's current directory.
    std::optional<QString> working_directory;
    // Also sends Qt's own diagnostics to the application log.
    bool debug = false;
    // Whether the window docks the workspace shell, whose terminal starts the user's
    // shell; a picture run needs none.
    bool shell = true;
    // Whether volumes build their section cache in the background; a picture run ends
    // before a cache could be used.
    bool section_caches = true;
};

}  // namespace korvex::app
