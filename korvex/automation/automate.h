#pragma once

#include <QDateTime>
#include <QString>
#include <chrono>
#include <memory>

#include "korvex/automation/automate_export.h"

namespace korvex::app {
class MainWindow;
}

// Starts the main window the way a scripted GUI run needs it (the checkout's environment
// file and plug-in folder, the shipped plug-ins, a fresh project named after the launch
// time) and shuts it down through its own quit button, answering the confirmation.
namespace korvex::automation {

class Bot;

// The pause scripts leave between their clicks; launch and quit keep their own timing.
inline constexpr int MS_BETWEEN_CLICKS = 1000;

// The working copy the runs belong to: $KORVEX_CHECKOUT_DIR when set, otherwise the
// folder above the running program's (the build tree, or the installed prefix). Always
// ends with "/".
KORVEX_AUTOMATE_EXPORT QString checkout_folder();
KORVEX_AUTOMATE_EXPORT QString dotenv_path();
QString plugins_folder();
// Where a launch looks for plug-ins: the checkout's plug-in folder, one folder; in the
// program's own tree, the folder of the plug-ins shipped with the application.
KORVEX_AUTOMATE_EXPORT QString plugins_paths();
// "test{}.kvd" in the folder "Documents/test" of the home folder.
QString project_path_template();

// Loads the checkout's environment file, then builds, sets up and shows the main
// window and creates the project, named after `launch_time` to the second. Throws what
// the window throws, and app::ProjectError when the project cannot be created.
KORVEX_AUTOMATE_EXPORT std::unique_ptr<app::MainWindow> launch(
    const QDateTime& launch_time = QDateTime::currentDateTime());

// How long quit waits for its confirmation to come to the front.
inline constexpr std::chrono::milliseconds CONFIRMATION_PATIENCE{10000};

// Clicks the window's quit button and the Yes button of the confirmation it opens, as
// soon as that is the active window. Returns once the confirmation has been answered,
// or, when it is not in front within `patience`, declined (the failure is logged).
KORVEX_AUTOMATE_EXPORT void quit(const Bot& bot, app::MainWindow& window,
                                 std::chrono::milliseconds patience = CONFIRMATION_PATIENCE);

}  // namespace korvex::automation
