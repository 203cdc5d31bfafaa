#include <QLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <memory>
#include <thread>

#include <spdlog/logger.h>

#include "korvex/app/window/journal_sink.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "tests/support/test_main.h"

using korvex::app::JournalSink;
using korvex::widgets::LogPane;

namespace {

// The line's text after its time stamp, e.g. "[info] hello".
QString without_time(const QTextBlock& line) {
    const QString text = line.text();
    return text.mid(text.indexOf(' ') + 1);
}

QColor line_colour(const QTextBlock& line) {
    return line.begin().fragment().charFormat().foreground().color();
}

}  // namespace

class JournalSinkTest : public QObject {
    Q_OBJECT

private slots:
    void each_line_shows_its_level_in_its_colour_and_markup_stays_text() {
        QTextBrowser view;
        spdlog::logger log("levels", JournalSink::create(&view));
        log.info("hello");
        log.warn("careful with <b>markup</b>");
        log.error("broken");
        QTRY_COMPARE(view.document()->blockCount(), 3);
        const QTextDocument& lines = *view.document();
        QCOMPARE(without_time(lines.findBlockByNumber(0)), QString("[info] hello"));
        QCOMPARE(without_time(lines.findBlockByNumber(1)),
                 QString("[warning] careful with <b>markup</b>"));
        QCOMPARE(without_time(lines.findBlockByNumber(2)), QString("[error] broken"));
        const QColor plain = line_colour(lines.findBlockByNumber(0));
        const QColor warning = line_colour(lines.findBlockByNumber(1));
        const QColor error = line_colour(lines.findBlockByNumber(2));
        QVERIFY(warning != plain && error != plain && warning != error);
        QVERIFY(error.red() > 150 && error.green() < 80);
    }

    void lines_from_other_threads_arrive_in_order() {
        QTextBrowser view;
        spdlog::logger log("threads", JournalSink::create(&view));
        std::thread worker([&log] {
            for (int i = 0; i < 50; ++i) log.info("worker {}", i);
        });
        worker.join();
        QTRY_COMPARE(view.document()->blockCount(), 50);
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(without_time(view.document()->findBlockByNumber(i)),
                     QString("[info] worker %1").arg(i));
        }
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

    void lines_for_a_view_that_is_gone_are_dropped() {
        auto view = std::make_unique<QTextBrowser>();
        spdlog::logger log("gone", JournalSink::create(view.get()));
        log.info("queued for a view about to go");
        view.reset();
        log.info("after the view is gone");
        QCoreApplication::processEvents();
    }
};

KORVEX_TEST_MAIN(JournalSinkTest)
#include "tst_journal_sink.moc"
