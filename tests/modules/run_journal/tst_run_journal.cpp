#include <QAction>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QShortcut>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "korvex/modules/run_journal/run_journal.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "tests/support/docking_main_window.h"
#include "tests/support/test_main.h"

using korvex::modules::RunJournal;
using korvex::testing::DockingMainWindow;
using korvex::utils::logger;

class RunJournalTest : public QObject {
    Q_OBJECT

private slots:
    void answers_the_module_questions() {
        DockingMainWindow window;
        RunJournal journal(&window);
        QCOMPARE(journal.get_module_title(), QString("Run journal"));
        QCOMPARE(QString(RunJournal::CONF_SECTION), QString("run_journal"));
        QCOMPARE(journal.get_focus_widget(), journal.logpane()->textBrowser());
        QCOMPARE(journal.logpane()->parent(), &journal);

        QList<QAction*> actions = journal.get_module_actions();
        QVERIFY(actions.isEmpty());
        actions << new QAction(&journal);
        QVERIFY(journal.get_module_actions().isEmpty());

        QVERIFY(journal.closing_module());
        QVERIFY(journal.closing_module(false));
        QVERIFY(journal.closing_module(true));
        journal.refresh_module();
        journal.refresh_module(QString("/some/path"), false);
        QVERIFY(journal.closing_module());
    }

    void options_button_ends_the_log_pane_row() {
        DockingMainWindow window;
        RunJournal journal(&window);
        auto* row = qobject_cast<QHBoxLayout*>(journal.logpane()->layout()->itemAt(0)->layout());
        QVERIFY(row);
        QCOMPARE(row->count(), 5);
        QCOMPARE(row->itemAt(4)->widget(), journal.options_button());
        QCOMPARE(journal.options_button()->parent(), journal.logpane());
    }

    // Feeding the log into the panel and finding in it are the host's.
    void registering_only_docks_the_panel() {
        const std::size_t listeners = logger().sink_count();
        DockingMainWindow window;
        RunJournal journal(&window);
        journal.register_module();
        QVERIFY(journal.dockwidget());
        QCOMPARE(journal.dockwidget()->windowTitle(), QString("Run journal"));
        QCOMPARE(logger().sink_count(), listeners);
        QVERIFY(journal.findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
        logger().info("for the host's sink only");
        QCoreApplication::processEvents();
        QVERIFY(journal.logpane()->textBrowser()->document()->isEmpty());
    }
};

KORVEX_TEST_MAIN(RunJournalTest)
#include "tst_run_journal.moc"
