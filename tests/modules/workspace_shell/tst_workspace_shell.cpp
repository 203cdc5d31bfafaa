#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "korvex/modules/workspace_shell/workspace_shell.h"
#include "korvex/widgets/terminal/terminal.h"
#include "tests/support/docking_main_window.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::modules::WorkspaceShell;
using korvex::testing::DockingMainWindow;
using korvex::testing::LogCapture;

class WorkspaceShellTest : public QObject {
    Q_OBJECT

private slots:
    void answers_the_module_questions() {
        DockingMainWindow window;
        WorkspaceShell shell(&window);
        QCOMPARE(shell.get_module_title(), QString("Workspace shell"));
        QCOMPARE(QString(WorkspaceShell::CONF_SECTION), QString("workspace_shell"));
        QCOMPARE(shell.get_focus_widget(), shell.terminal());
        QCOMPARE(shell.terminal()->parent(), &shell);
        QCOMPARE(shell.options_button()->parent(), shell.terminal());

        QList<QAction*> actions = shell.get_module_actions();
        QVERIFY(actions.isEmpty());
        actions << new QAction(&shell);
        QVERIFY(shell.get_module_actions().isEmpty());

        QVERIFY(shell.closing_module());
        QVERIFY(shell.closing_module(false));
        QVERIFY(shell.closing_module(true));
        shell.refresh_module();
        shell.refresh_module(QString("/elsewhere"), false);
        QVERIFY(shell.terminal()->work_dir().isEmpty());
    }

    void nothing_is_routed_before_registration() {
        QTemporaryDir work;
        DockingMainWindow window(work.path());
        WorkspaceShell shell(&window);
        emit shell.terminal()->sig_run_script("early.sh");
        QVERIFY(window.run_script_calls().isEmpty());
        QVERIFY(shell.terminal()->work_dir().isEmpty());
        QVERIFY(shell.dockwidget() == nullptr);
    }

    void registration_docks_sets_the_work_dir_and_routes_scripts() {
        QTemporaryDir work, later;
        const QString script = work.path() + "/hello.sh";
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho \"hello from $(pwd)\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);

        DockingMainWindow window(work.path());
        auto* shell = new WorkspaceShell(&window);
        shell->register_module();
        QCOMPARE(shell->dockwidget()->windowTitle(), QString("Workspace shell"));
        QCOMPARE(shell->terminal()->work_dir(), work.path());

        // Read once at registration: later changes of the main window's are not followed.
        window.set_workdir(later.path());
        QCOMPARE(shell->terminal()->work_dir(), work.path());
        window.set_workdir(work.path());

        LogCapture log;
        QSignalSpy finished(window.script_runner(), &korvex::app::ScriptRunner::sig_finished);
        emit shell->terminal()->sig_run_script(script);
        QCOMPARE(window.run_script_calls(), QStringList{script});
        QVERIFY(finished.wait(10000));
        QVERIFY(log.contains("info", "[hello.sh] hello from " + work.path()));
        QVERIFY(log.contains("info", "Script hello.sh finished with exit code 0"));
    }
};

KORVEX_TEST_MAIN(WorkspaceShellTest)
#include "tst_workspace_shell.moc"
