#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <memory>
#include <thread>

#include <spdlog/logger.h>

#include "korvex/modules/run_journal/journal_sink.h"
#include "korvex/modules/run_journal/run_journal.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "tests/support/docking_main_window.h"
#include "tests/support/test_main.h"

using korvex::modules::JournalSink;
using korvex::modules::RunJournal;
using korvex::testing::DockingMainWindow;
using korvex::utils::logger;
using korvex::widgets::LogPane;

namespace {

QStringList journal_lines(const RunJournal& journal) {
    const QString text = journal.logpane()->textBrowser()->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

// The line's text after its time stamp, e.g. "[info] hello".
QString without_time(const QString& line) { return line.mid(line.indexOf(' ') + 1); }

QColor line_colour(const RunJournal& journal, int index) {
    const QTextBlock block = journal.logpane()->textBrowser()->document()->findBlockByNumber(index);
    return block.begin().fragment().charFormat().foreground().color();
}

}  // namespace

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

    void the_first_journal_shows_earlier_lines_then_each_log_line_with_its_level() {
        DockingMainWindow window;
        RunJournal journal(&window);
        logger().info("before registration");
        QCoreApplication::processEvents();
        journal.register_module();
        QVERIFY(journal.dockwidget());
        QCOMPARE(journal.dockwidget()->windowTitle(), QString("Run journal"));

        logger().info("hello");
        logger().warning("careful with <b>markup</b>");
        logger().error("broken");
        QTRY_VERIFY(journal_lines(journal).size() >= 4);
        const QStringList lines = journal_lines(journal);
        const int first = lines.size() - 4;  // lines logged earlier in this run come before
        QCOMPARE(without_time(lines[first]), QString("[info] before registration"));
        QCOMPARE(without_time(lines[first + 1]), QString("[info] hello"));
        QCOMPARE(without_time(lines[first + 2]), QString("[warning] careful with <b>markup</b>"));
        QCOMPARE(without_time(lines[first + 3]), QString("[error] broken"));
        const QColor plain = line_colour(journal, first + 1);
        const QColor warning = line_colour(journal, first + 2);
        const QColor error = line_colour(journal, first + 3);
        QVERIFY(warning != plain && error != plain && warning != error);
        QVERIFY(error.red() > 150 && error.green() < 80);

        // Those earlier lines are handed over once: a later journal starts empty.
        DockingMainWindow other_window;
        RunJournal later(&other_window);
        later.register_module();
        logger().info("for both");
        QTRY_COMPARE(journal_lines(later).size(), 1);
        QCOMPARE(without_time(journal_lines(later)[0]), QString("[info] for both"));
    }

    void lines_from_other_threads_arrive_in_order() {
        DockingMainWindow window;
        RunJournal journal(&window);
        journal.register_module();
        std::thread worker([] {
            for (int i = 0; i < 50; ++i) logger().info(QString("worker %1").arg(i));
        });
        worker.join();
        QTRY_COMPARE(journal_lines(journal).size(), 50);
        const QStringList lines = journal_lines(journal);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(without_time(lines[i]), QString("[info] worker %1").arg(i));
    }

    void clearing_empties_the_journal_and_logging_goes_on() {
        DockingMainWindow window;
        auto* journal = new RunJournal(&window);
        journal->register_module();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);

        logger().info("one");
        QTRY_COMPARE(journal_lines(*journal).size(), 1);
        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
        QTRY_VERIFY(journal->logpane()->textBrowser()->document()->isEmpty());

        logger().info("two");
        QTRY_COMPARE(journal_lines(*journal).size(), 1);
        auto* clear = qobject_cast<QToolButton*>(
            journal->logpane()->layout()->itemAt(0)->layout()->itemAt(0)->widget());
        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(journal->logpane()->textBrowser()->document()->isEmpty());

        logger().info("three");
        QTRY_COMPARE(journal_lines(*journal).size(), 1);
        QCOMPARE(without_time(journal_lines(*journal).value(0)), QString("[info] three"));
    }

    void the_view_keeps_the_newest_lines_up_to_its_bound() {
        QTextBrowser view;
        spdlog::logger log("burst", JournalSink::create(&view));
        const int total = JournalSink::MAXIMUM_LINES + 250;
        for (int i = 0; i < total; ++i) log.info("line {}", i);
        QTRY_VERIFY(
            view.document()->lastBlock().text().endsWith(QString("line %1").arg(total - 1)));
        QCOMPARE(view.document()->blockCount(), JournalSink::MAXIMUM_LINES);
        QVERIFY(view.document()->firstBlock().text().endsWith("line 250"));
        // Each line in a block of its own, however the burst was batched.
        QVERIFY(view.document()->findBlockByNumber(1).text().endsWith("line 251"));
        QVERIFY(!view.document()->isUndoRedoEnabled());

        log.info("one more");
        QTRY_VERIFY(view.document()->lastBlock().text().endsWith("one more"));
        QCOMPARE(view.document()->blockCount(), JournalSink::MAXIMUM_LINES);
        QVERIFY(view.document()->firstBlock().text().endsWith("line 251"));
    }

    void clearing_drops_the_lines_logged_before_it_that_are_still_queued() {
        LogPane pane;
        QTextBrowser* view = pane.textBrowser();
        spdlog::logger log("cleared", JournalSink::create(view));
        auto* clear =
            qobject_cast<QToolButton*>(pane.layout()->itemAt(0)->layout()->itemAt(0)->widget());

        log.info("shown");
        QTRY_VERIFY(!view->document()->isEmpty());
        log.info("queued before the clear");
        QTest::mouseClick(clear, Qt::LeftButton);
        log.info("after the first clear");
        QTRY_VERIFY(view->toPlainText().endsWith("after the first clear"));
        QCOMPARE(view->document()->blockCount(), 1);

        // The same when the view was already empty.
        QTest::mouseClick(clear, Qt::LeftButton);
        log.info("queued into an empty view");
        QTest::mouseClick(clear, Qt::LeftButton);
        log.info("after the second clear");
        QTRY_VERIFY(view->toPlainText().endsWith("after the second clear"));
        QCOMPARE(view->document()->blockCount(), 1);
    }

    void a_destroyed_journal_no_longer_listens() {
        const std::size_t listeners = logger().sink_count();
        auto window = std::make_unique<DockingMainWindow>();
        auto* journal = new RunJournal(window.get());
        journal->register_module();
        QCOMPARE(logger().sink_count(), listeners + 1);
        logger().info("queued for a view about to go");
        window.reset();
        QCOMPARE(logger().sink_count(), listeners);
        // The line queued for the destroyed view is dropped, not delivered to freed memory.
        logger().info("after the journal is gone");
        QCoreApplication::processEvents();
    }
};

KORVEX_TEST_MAIN(RunJournalTest)
#include "tst_run_journal.moc"
