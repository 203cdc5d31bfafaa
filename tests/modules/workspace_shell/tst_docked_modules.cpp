#include <qtermwidget.h>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/modules/run_journal/run_journal.h"
#include "korvex/modules/workspace_shell/workspace_shell.h"
#include "korvex/widgets/terminal/terminal.h"
#include "tests/support/docking_main_window.h"
#include "tests/support/test_main.h"

using korvex::modules::RunJournal;
using korvex::modules::WorkspaceShell;
using korvex::testing::DockingMainWindow;

// Both dock modules in one main window, as the application mounts them.
class DockedModulesTest : public QObject {
    Q_OBJECT

private slots:
    void journal_and_shell_work_side_by_side() {
        QTemporaryDir work;
        DockingMainWindow window(work.path());
        auto* journal = new RunJournal(&window);
        auto* shell = new WorkspaceShell(&window);
        journal->register_module();
        shell->register_module();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        QVERIFY(journal->dockwidget()->isVisible());
        QVERIFY(shell->dockwidget()->isVisible());

        // Typed at the keyboard, as a user would.
        shell->get_focus_widget()->setFocus();
        QTRY_VERIFY(shell->terminal()->console()->hasFocus() ||
                    shell->terminal()->console()->focusWidget());
        QWidget* keys = QApplication::focusWidget();
        QVERIFY(keys);
        QTest::keyClicks(keys, "pwd > typed.txt");
        QTest::keyClick(keys, Qt::Key_Return);
        const QString typed = work.path() + "/typed.txt";
        QTRY_VERIFY_WITH_TIMEOUT(QFile(typed).size() > 0, 15000);
        QFile file(typed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(), work.path());
    }
};

KORVEX_TEST_MAIN(DockedModulesTest)
#include "tst_docked_modules.moc"
