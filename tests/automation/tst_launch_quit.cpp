#include <QAbstractButton>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"
#include "korvex/app/window/main_window.h"
#include "korvex/app/window/plugin_manager.h"
#include "korvex/automation/automate.h"
#include "korvex/automation/bot.h"
#include "tests/app/open_and_wait.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::ProjectDatabase;
using korvex::automation::Bot;
using korvex::automation::launch;
using korvex::automation::quit;
using korvex::testing::LogCapture;

namespace {

// A working copy of our own for the launches, with or without an environment file.
class Checkout {
public:
    explicit Checkout(const QByteArray& dotenv = {}) {
        if (!dotenv.isEmpty()) {
            QDir(dir_.path()).mkpath("beta");
            QFile file(dir_.filePath("beta/.env"));
            file.open(QIODevice::WriteOnly);
            file.write(dotenv);
        }
        qputenv("KORVEX_CHECKOUT_DIR", dir_.path().toLocal8Bit());
    }
    ~Checkout() { qunsetenv("KORVEX_CHECKOUT_DIR"); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

QDateTime now_to_the_second() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

// Keeps the quit confirmation from becoming the active window, as a loaded machine can
// for a while: each time it becomes active, the main window is made active again. It is
// let through, and brought to the front, as soon as `release_when` holds.
class HeldConfirmation : public QObject {
public:
    HeldConfirmation(QWidget* window, std::function<bool()> release_when)
        : window_(window), release_when_(std::move(release_when)) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (!box_ || !release_when_()) return;
            poll_.stop();
            held_ = false;
            QApplication::setActiveWindow(box_);
        });
        poll_.start(10);
        qApp->installEventFilter(this);
    }
    bool shown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (!box) return false;
        if (event->type() == QEvent::Show) {
            box_ = box;
            shown_ = true;
        }
        if (held_ && event->type() == QEvent::WindowActivate)
            QApplication::setActiveWindow(window_);
        return false;
    }

private:
    QWidget* window_;
    std::function<bool()> release_when_;
    QPointer<QMessageBox> box_;
    QTimer poll_;
    bool held_ = true;
    bool shown_ = false;
};

bool logged_starting(const LogCapture& log, const QString& level, const QString& start) {
    for (const auto& line : log.lines()) {
        if (line.level == level && line.text.startsWith(start)) return true;
    }
    return false;
}

// Records the text of each message box shown while it lives.
class ShownBoxes : public QObject {
public:
    ShownBoxes() { qApp->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) texts << box->text();
        return false;
    }
};

const QString WAITING = "Waiting for the quit confirmation to come to the front";
const QString CANNOT_ANSWER = "Cannot answer the quit confirmation";

}  // namespace

class LaunchQuitTest : public QObject {
    Q_OBJECT

private slots:
    void a_launched_window_holds_a_fresh_project_and_quits_through_its_confirmation() {
        const QString home = QDir::homePath();
        Checkout checkout("KORVEX_LAUNCH_MARK='from the checkout'\nHOME=/elsewhere\n");
        const QDateTime before = now_to_the_second();
        const auto window = launch();
        const QDateTime after = QDateTime::currentDateTime();

        QVERIFY(window->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(qEnvironmentVariable("KORVEX_LAUNCH_MARK"), QString("from the checkout"));
        QCOMPARE(QDir::homePath(), home);
        QCOMPARE(window->options().plugins_paths, checkout.path() + "/plugins/korvex_plugins");
        QVERIFY(!window->options().working_directory);
        QVERIFY(!window->options().debug);

        const QRegularExpression named(
            "^" + QRegularExpression::escape(home + "/Documents/test/test") + R"((\d{14})\.kvd$)");
        const QRegularExpressionMatch match = named.match(window->project_path());
        QVERIFY2(match.hasMatch(), qPrintable(window->project_path()));
        const QDateTime stamp = QDateTime::fromString(match.captured(1), "yyyyMMddHHmmss");
        QVERIFY(stamp >= before && stamp <= after);
        QVERIFY(ProjectDatabase::is_project(window->project_path()));

        LogCapture log;
        const ShownBoxes boxes;
        quit(Bot(), *window);
        QCOMPARE(boxes.texts, QStringList{"Quit?"});
        QVERIFY(!window->isVisible());
        for (const auto& line : log.lines()) QVERIFY2(line.level != "error", qPrintable(line.text));
    }

    // Nothing of the machine that built the program is compiled in: without
    // $KORVEX_CHECKOUT_DIR the runs belong to the program's own tree, whose plug-in
    // folder is the shipped one, searched once.
    void the_default_checkout_is_the_programs_own_tree() {
        QVERIFY(qEnvironmentVariableIsEmpty("KORVEX_CHECKOUT_DIR"));
        const QString tree = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/..");
        QCOMPARE(korvex::automation::checkout_folder(), tree + "/");
        QCOMPARE(korvex::automation::dotenv_path(), tree + "/beta/.env");
        QCOMPARE(korvex::automation::plugins_paths(), korvex::app::PluginManager::shipped_folder());
    }

    void a_launch_needs_neither_an_environment_file_nor_a_documents_folder() {
        Checkout checkout;
        QVERIFY(QDir(QDir::homePath() + "/Documents").removeRecursively());
        const auto window = launch();
        QVERIFY(window->isVisible());
        QVERIFY(ProjectDatabase::is_project(window->project_path()));
        quit(Bot(), *window);
        QVERIFY(!window->isVisible());
    }

    void an_unwritable_project_folder_fails_the_launch() {
        Checkout checkout;
        const QString documents = QDir::homePath() + "/Documents";
        QVERIFY(QDir(documents).removeRecursively());
        // A file where the folder should be.
        QFile blocker(documents);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY_EXCEPTION_THROWN(launch(), korvex::app::ProjectError);
        QVERIFY(blocker.remove());
    }

    void launches_within_one_second_share_the_project_and_keep_its_content() {
        Checkout checkout;
        QTemporaryDir data;
        // Points on lines, which open without a question in every window.
        QFile points(data.filePath("wells.xyz"));
        QVERIFY(points.open(QIODevice::WriteOnly));
        points.write("10 20 100\n11 21 200\n");
        points.close();
        const QDateTime moment = QDateTime::fromString("20260102030405", "yyyyMMddHHmmss");

        const auto first = launch(moment);
        QCOMPARE(first->project_path(),
                 QDir::homePath() + "/Documents/test/test20260102030405.kvd");
        QVERIFY(korvex::testing::load_data(*first, points.fileName()));
        QVERIFY(first->save_project());
        const auto second = launch(moment.addMSecs(999));
        QCOMPARE(second->project_path(), first->project_path());
        QCOMPARE(int(second->model()->objects().size()), 1);
        QCOMPARE(int(ProjectDatabase(first->project_path()).load().objects.size()), 1);

        const auto next_second = launch(moment.addSecs(1));
        QVERIFY(next_second->project_path() != first->project_path());
        QVERIFY(next_second->model()->objects().empty());
    }

    void a_confirmation_slow_to_come_to_the_front_is_answered_once_it_gets_there() {
        Checkout checkout;
        const auto window = launch();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        LogCapture log;
        // Let through once quit has seen it held back.
        HeldConfirmation held(window.get(), [&] { return logged_starting(log, "info", WAITING); });
        quit(Bot(), *window);
        QVERIFY(held.shown());
        QVERIFY2(!logged_starting(log, "error", CANNOT_ANSWER), qPrintable(log.texts().join('\n')));
        QVERIFY(logged_starting(log, "info", WAITING + "; the active window is "));
        QVERIFY(!window->isVisible());
    }

    void a_confirmation_that_never_comes_to_the_front_is_logged_and_declined() {
        Checkout checkout;
        const auto window = launch();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        LogCapture log;
        HeldConfirmation held(window.get(), [] { return false; });
        quit(Bot(), *window, std::chrono::milliseconds(300));
        QVERIFY(held.shown());
        QVERIFY2(
            logged_starting(
                log, "error",
                CANNOT_ANSWER + ": after 300 ms it is still not in front; the active window is "),
            qPrintable(log.texts().join('\n')));
        QVERIFY(window->isVisible());
        for (auto* box : window->findChildren<QMessageBox*>()) QVERIFY(!box->isVisible());
    }
};

KORVEX_TEMPORARY_HOME_TEST_MAIN(LaunchQuitTest)
#include "tst_launch_quit.moc"
