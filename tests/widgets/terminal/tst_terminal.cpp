#include <qtermwidget.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "korvex/widgets/terminal/terminal.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

using korvex::testing::LogCapture;
using korvex::widgets::Terminal;

namespace {

constexpr int SHELL_TIMEOUT_MS = 15000;

QString read_text(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

QString shell_quoted(QString text) { return "'" + text.replace("'", "'\\''") + "'"; }

// Has the shell write its working directory into `out`, and waits for it.
QString shell_pwd(Terminal& terminal, const QString& out) {
    QFile::remove(out);
    terminal.console()->sendText("pwd > " + shell_quoted(out + ".part") + " && mv " +
                                 shell_quoted(out + ".part") + " " + shell_quoted(out) + "\n");
    const bool answered = QTest::qWaitFor(
        [&] { return QFile::exists(out) && terminal.shell_in_foreground(); }, SHELL_TIMEOUT_MS);
    return answered ? read_text(out) : "(no answer)";
}

}  // namespace

class TerminalTest : public QObject {
    Q_OBJECT

private slots:
    void shell_is_the_users_else_bash_data() {
        QTest::addColumn<QByteArray>("shell");
        QTest::addColumn<QString>("expected");
        QTest::newRow("set") << QByteArray("/bin/sh") << "/bin/sh";
        QTest::newRow("unset") << QByteArray() << "/bin/bash";
        QTest::newRow("not a program") << QByteArray("/no/such/shell") << "/bin/bash";
    }

    void shell_is_the_users_else_bash() {
        QFETCH(QByteArray, shell);
        QFETCH(QString, expected);
        const QByteArray saved = qgetenv("SHELL");
        if (shell.isNull()) {
            qunsetenv("SHELL");
        } else {
            qputenv("SHELL", shell);
        }
        const QString program = Terminal::shell_program();
        qputenv("SHELL", saved);
        QCOMPARE(program, expected);
    }

    void shell_starts_in_the_work_directory() {
        QTemporaryDir root, results;
        const QString work = root.path() + "/it's a dir";
        QVERIFY(QDir().mkpath(work));
        Terminal terminal;
        terminal.set_work_dir(work);
        QCOMPARE(terminal.shell_pid(), 0);  // nothing runs before the terminal is shown
        terminal.show();
        QVERIFY(terminal.shell_pid() > 0);
        QCOMPARE(shell_pwd(terminal, results.path() + "/pwd"), work);
        QCOMPARE(terminal.work_dir(), work);
    }

    void running_shell_follows_a_new_work_directory_dropping_half_typed_input() {
        QTemporaryDir first, second_root, results;
        const QString second = second_root.path() + "/a \"quoted\" 'dir' $HOME";
        QVERIFY(QDir().mkpath(second));
        Terminal terminal;
        terminal.set_work_dir(first.path());
        terminal.show();
        QCOMPARE(shell_pwd(terminal, results.path() + "/one"), first.path());

        terminal.console()->sendText("touch half_typed_marker");
        terminal.set_work_dir(second);
        QCOMPARE(shell_pwd(terminal, results.path() + "/two"), second);
        QVERIFY(!QFile::exists(first.path() + "/half_typed_marker"));
        QVERIFY(!QFile::exists(second + "/half_typed_marker"));
    }

    void missing_folder_or_busy_shell_leaves_the_shell_where_it_is() {
        QTemporaryDir work, other, results;
        Terminal terminal;
        terminal.set_work_dir(work.path());
        terminal.show();
        QCOMPARE(shell_pwd(terminal, results.path() + "/one"), work.path());

        LogCapture log;
        terminal.set_work_dir(work.path() + "/no/such");
        QVERIFY(log.contains(
            "warning",
            QString("The terminal cannot go to \"%1/no/such\": no such folder").arg(work.path())));
        QCOMPARE(terminal.work_dir(), work.path());

        terminal.console()->sendText("sleep 30\n");
        QVERIFY(QTest::qWaitFor([&] { return !terminal.shell_in_foreground(); }, SHELL_TIMEOUT_MS));
        terminal.set_work_dir(other.path());
        QVERIFY(log.contains(
            "warning",
            QString("The terminal is busy; its shell stays out of \"%1\"").arg(other.path())));
        terminal.console()->sendText("\x03");  // Ctrl+C ends the sleep
        QCOMPARE(shell_pwd(terminal, results.path() + "/two"), work.path());
    }

    void an_exited_shell_is_replaced_by_a_new_one_in_the_work_directory() {
        QTemporaryDir work, results;
        Terminal terminal;
        terminal.set_min_shell_life(std::chrono::milliseconds(0));
        terminal.set_work_dir(work.path());
        terminal.show();
        const int first = terminal.shell_pid();
        QVERIFY(first > 0);
        LogCapture log;
        terminal.console()->sendText("exit\n");
        QTRY_VERIFY_WITH_TIMEOUT(terminal.shell_pid() > 0 && terminal.shell_pid() != first,
                                 SHELL_TIMEOUT_MS);
        QVERIFY(log.contains("info", "The terminal's shell has exited; a new one is started"));
        QTRY_VERIFY(terminal.console()->isVisible());  // shown once the layout gets to it
        QCOMPARE(shell_pwd(terminal, results.path() + "/pwd"), work.path());
    }

    void a_shell_that_ends_at_once_waits_for_a_key_press() {
        QTemporaryDir work, results;
        const QByteArray saved = qgetenv("SHELL");
        qputenv("SHELL", "/bin/false");
        LogCapture log;
        Terminal terminal;
        // However slowly a loaded machine starts it, /bin/false ends "at once".
        terminal.set_min_shell_life(std::chrono::minutes(1));
        terminal.set_work_dir(work.path());
        terminal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        QTRY_VERIFY_WITH_TIMEOUT(!log.lines().empty(), SHELL_TIMEOUT_MS);
        qputenv("SHELL", saved);
        QVERIFY(log.contains("warning",
                             "The terminal's shell /bin/false ended at once; a key press "
                             "in the terminal starts it again"));
        QCOMPARE(terminal.shell_pid(), 0);

        QApplication::setActiveWindow(&terminal);
        terminal.setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_VERIFY(terminal.shell_pid() > 0);
    }

    void a_terminal_told_not_to_start_when_shown_starts_at_a_key_press() {
        Terminal terminal;
        terminal.set_starts_when_shown(false);
        terminal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&terminal));
        QCOMPARE(terminal.shell_pid(), 0);

        QApplication::setActiveWindow(&terminal);
        terminal.setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(terminal.shell_pid() > 0, SHELL_TIMEOUT_MS);
    }

    void run_script_action_announces_the_chosen_file() {
        QTemporaryDir work;
        const QString script = work.path() + "/job.sh";
        QFile(script).open(QIODevice::WriteOnly);
        Terminal terminal;
        terminal.set_work_dir(work.path());
        QSignalSpy spy(&terminal, &Terminal::sig_run_script);
        QString start_folder;
        // Answers the dialog as soon as it is up.
        auto answer = [&](bool accept) {
            korvex::testing::answer_next_modal([&, accept](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY2(dialog, "the file dialog did not open");
                start_folder = dialog->directory().absolutePath();
                if (accept) {
                    // Typed, as the folder view may not have listed the file yet.
                    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(script);
                    static_cast<QDialog*>(dialog)->accept();
                } else {
                    dialog->reject();
                }
            });
        };
        answer(false);
        terminal.run_script_action()->trigger();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(start_folder, work.path());

        answer(true);
        terminal.run_script_action()->trigger();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), script);
    }

    void options_button_sits_at_the_right_end_of_the_row() {
        auto* options = new QToolButton;
        Terminal terminal(nullptr, options);
        auto* row = qobject_cast<QHBoxLayout*>(terminal.layout()->itemAt(0)->layout());
        QVERIFY(row);
        QCOMPARE(row->itemAt(row->count() - 1)->widget(), options);
        QCOMPARE(options->parent(), &terminal);
        auto* run = qobject_cast<QToolButton*>(row->itemAt(0)->widget());
        QVERIFY(run);
        QCOMPARE(run->defaultAction(), terminal.run_script_action());
    }
};

KORVEX_TEST_MAIN(TerminalTest)
#include "tst_terminal.moc"
