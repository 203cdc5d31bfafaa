#include <QTest>

#include <spdlog/sinks/ringbuffer_sink.h>

#include "korvex/utils/logger.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::utils::format;
using korvex::utils::logger;

class LoggerTest : public QObject {
    Q_OBJECT

private slots:
    void each_level_is_recorded_with_its_text() {
        korvex::testing::LogCapture log;
        logger().info("plain");
        logger().warning("careful");
        logger().warn("also careful");
        logger().error("broken");
        const auto lines = log.lines();
        QCOMPARE(lines.size(), std::size_t(4));
        QCOMPARE(lines[0].level, QString("info"));
        QCOMPARE(lines[1].level, QString("warning"));
        QCOMPARE(lines[2].level, QString("warning"));
        QCOMPARE(lines[3].level, QString("error"));
        QCOMPARE(log.texts(), QStringList({"plain", "careful", "also careful", "broken"}));
    }

    void placeholders_are_filled_in_order_with_qt_texts() {
        QCOMPARE(format("{} is adding {}", QString("viewer 1"), QString("Fäult")),
                 QString("viewer 1 is adding Fäult"));
        QCOMPARE(format("Mouse pressed at coordinate {}", std::string("(1, 2, 3)")),
                 QString("Mouse pressed at coordinate (1, 2, 3)"));
    }

    void braces_in_a_message_are_not_interpreted() {
        korvex::testing::LogCapture log;
        logger().info("{} {0} {:x}");
        QCOMPARE(log.texts(), QStringList({"{} {0} {:x}"}));
    }

    void a_detached_sink_sees_nothing_more_and_is_let_go() {
        auto sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(8);
        const std::weak_ptr<spdlog::sinks::sink> held = sink;
        logger().attach_sink(sink);
        logger().info("while attached");
        logger().detach_sink(sink);
        logger().info("after detach");
        const auto seen = sink->last_raw();
        QCOMPARE(seen.size(), std::size_t(1));
        QCOMPARE(
            QString::fromStdString(std::string(seen[0].payload.begin(), seen[0].payload.end())),
            QString("while attached"));
        sink.reset();
        QVERIFY(held.expired());
    }
};

KORVEX_TEST_GUILESS_MAIN(LoggerTest)
#include "tst_logger.moc"
