#include "korvex/automation/automate.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>

#include "korvex/app/main_window.h"
#include "korvex/app/project_error.h"
#include "korvex/automation/bot.h"
#include "korvex/config/base.h"
#include "korvex/utils/dotenv.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::automation {

using config::_;
using utils::format;
using utils::logger;

namespace {

constexpr int MS_BEFORE_ANSWER = 500;
constexpr int MS_CLICK_DELAY = 1;

// Names a window in the log: its class, and its title when it has one.
QString describe(const QWidget* window) {
    if (!window) return QStringLiteral("no window");
    const QString type = QString::fromLatin1(window->metaObject()->className());
    if (window->windowTitle().isEmpty()) return type;
    return format("{} \"{}\"", type, window->windowTitle());
}

// Answers the confirmation the quit button opened, which by then is the active window.
// Anything else there is logged and left alone: the run fails visibly, not by aborting.
void handle_dialog(const Bot& bot) {
    QWidget* active = QApplication::activeWindow();
    auto* box = qobject_cast<QMessageBox*>(active);
    QAbstractButton* yes = box ? box->button(QMessageBox::Yes) : nullptr;
    if (!yes) {
        logger().error(format("Cannot answer the quit confirmation: the active window is {}", describe(active)));
        return;
    }
    bot.mouseClick(yes, Qt::LeftButton, MS_CLICK_DELAY);
}

}  // namespace

QString checkout_folder() {
    QString folder = qEnvironmentVariable("KORVEX_CHECKOUT_DIR", QStringLiteral(KORVEX_SOURCE_DIR));
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

QString dotenv_path() { return checkout_folder() + "beta/.env"; }

QString plugins_folder() { return checkout_folder() + "plugins/korvex_plugins"; }

QString project_path_template() { return QDir::homePath() + "/Documents/test/test{}.kvd"; }

std::unique_ptr<app::MainWindow> launch() {
    utils::load_dotenv(dotenv_path());

    app::MainWindowOptions options;
    options.plugins_paths = plugins_folder();
    options.working_directory = std::nullopt;
    options.debug = false;

    auto window = std::make_unique<app::MainWindow>(options);
    window->setup();
    window->show();
    window->post_visible_setup();

    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    const QString path = project_path_template().replace(QStringLiteral("{}"), stamp);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) throw app::ProjectError(format("Cannot create the folder {}", folder));
    if (!window->create_new_project(path)) {
        throw app::ProjectError(format("Cannot create the project {}; the log says why", path));
    }
    return window;
}

void quit(const Bot& bot, app::MainWindow& window) {
    QTimer::singleShot(MS_BEFORE_ANSWER, [bot] {
        utils::call_guarded(_("Answering the quit confirmation"), [&bot] { handle_dialog(bot); });
    });
    bot.mouseClick(window.btn_quit, Qt::LeftButton, MS_CLICK_DELAY);
}

}  // namespace korvex::automation
