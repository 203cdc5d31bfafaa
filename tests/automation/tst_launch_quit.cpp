#include <QDateTime>
#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "korvex/app/data_object_factory.h"
#include "korvex/app/data_tree.h"
#include "korvex/app/main_window.h"
#include "korvex/app/project_database.h"
#include "korvex/app/project_error.h"
#include "korvex/automation/automate.h"
#include "korvex/automation/bot.h"
#include "tests/automation/temporary_home_main.h"
#include "tests/support/log_capture.h"
#include "tests/support/synthetic_object.h"

using korvex::app::MainWindow;
using korvex::app::ProjectDatabase;
using korvex::automation::Bot;
using korvex::automation::launch;
using korvex::automation::quit;
using korvex::testing::LogCapture;
using korvex::testing::SyntheticObject;

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

}  // namespace

class LaunchQuitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        korvex::app::data_object_factory().register_type(
            {SyntheticObject::TYPE, "Synthetic objects", {"syn"}, &SyntheticObject::load});
    }

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
        QElapsedTimer clock;
        clock.start();
        quit(Bot(), *window);
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY(!window->isVisible());
        for (const auto& line : log.lines()) QVERIFY2(line.level != "error", qPrintable(line.text));
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

    void two_launches_within_one_second_share_the_project_and_keep_its_content() {
        Checkout checkout;
        QTemporaryDir data;
        const QString volume = data.filePath("vol.syn");
        SyntheticObject::write(volume, "vol", true);
        // Started just after a second turns, the two launches share it; a slow machine
        // that crosses into the next second gets another try.
        for (int attempt = 0; attempt < 3; ++attempt) {
            QTest::qWait(1000 - QTime::currentTime().msec());
            const auto first = launch();
            QVERIFY(first->load_data_file(volume));
            QVERIFY(first->save_project());
            const auto second = launch();
            if (second->project_path() != first->project_path()) continue;

            QCOMPARE(int(second->tree()->objects().size()), 1);
            QCOMPARE(int(ProjectDatabase(first->project_path()).load().objects.size()), 1);
            return;
        }
        QFAIL("no two launches fell within one second");
    }

    void a_confirmation_that_is_not_the_active_window_is_logged_and_left_open() {
        Checkout checkout;
        const auto window = launch();
        LogCapture log;
        QDialog intruder(window.get());
        intruder.setWindowTitle("Intruder");
        bool logged = false;
        bool left_open = false;
        // Opened over the confirmation before its answer is due, and gone after it.
        QTimer::singleShot(200, &intruder, [&] { intruder.exec(); });
        QTimer::singleShot(900, &intruder, [&] {
            logged = log.contains("error",
                                  "Cannot answer the quit confirmation: the active window is QDialog \"Intruder\"");
            intruder.reject();
        });
        QTimer::singleShot(1100, window.get(), [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            left_open = box != nullptr;
            if (box) box->button(QMessageBox::No)->click();
        });
        quit(Bot(), *window);
        QVERIFY2(logged, qPrintable(log.texts().join('\n')));
        QVERIFY(left_open);
        QVERIFY(window->isVisible());
    }
};

KORVEX_TEMPORARY_HOME_TEST_MAIN(LaunchQuitTest)
#include "tst_launch_quit.moc"
