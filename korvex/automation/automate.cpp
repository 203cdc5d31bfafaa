#include "korvex/automation/automate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QToolButton>

#include "korvex/app/project/project_error.h"
#include "korvex/app/window/main_window.h"
#include "korvex/app/window/user_notifier.h"
#include "korvex/automation/bot.h"
#include "korvex/automation/confirmation_answer.h"
#include "korvex/utils/dotenv.h"
#include "korvex/utils/logger.h"

namespace korvex::automation {

using utils::format;

QString checkout_folder() {
    // The program's own tree by default (a build tree or an installed prefix), found
    // from where it runs: no path of the machine that built it is compiled in.
    QString folder = qEnvironmentVariable(
        "KORVEX_CHECKOUT_DIR", QDir::cleanPath(QCoreApplication::applicationDirPath() + "/.."));
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

QString dotenv_path() { return checkout_folder() + "beta/.env"; }

QString plugins_folder() { return checkout_folder() + "plugins/korvex_plugins"; }

QString plugins_paths() { return QDir::cleanPath(plugins_folder()); }

QString project_path_template() { return QDir::homePath() + "/Documents/test/test{}.kvd"; }

std::unique_ptr<app::MainWindow> launch(const QDateTime& launch_time) {
    utils::load_dotenv(dotenv_path());

    app::MainWindowOptions options;
    options.plugins_paths = plugins_paths();
    options.working_directory = std::nullopt;
    options.debug = false;

    auto window = std::make_unique<app::MainWindow>(options);
    window->setup();
    // Nobody is there to close a message box.
    window->notifier()->set_message_boxes(false);
    window->show();
    window->post_visible_setup();

    const QString stamp = launch_time.toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString path = project_path_template().replace(QStringLiteral("{}"), stamp);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw app::ProjectError(format("Cannot create the folder {}", folder));
    if (!window->create_new_project(path)) {
        throw app::ProjectError(format("Cannot create the project {}; the log says why", path));
    }
    return window;
}

void quit(const Bot& bot, app::MainWindow& window, std::chrono::milliseconds patience) {
    const ConfirmationAnswer answer(bot, window, patience);
    bot.mouseClick(window.btn_quit, Qt::LeftButton, MS_SCRIPTED_CLICK_DELAY);
}

}  // namespace korvex::automation
