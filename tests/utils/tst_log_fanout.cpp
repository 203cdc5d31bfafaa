#include <QTest>
#include <memory>
#include <mutex>
#include <thread>

#include <spdlog/logger.h>
#include <spdlog/sinks/base_sink.h>

#include "korvex/utils/log_fanout.h"
#include "tests/support/test_main.h"

using korvex::utils::LogFanout;

namespace {

// Keeps the text and level of each line it gets.
class RecordingSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    QStringList texts() {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }
    QStringList levels() {
        std::lock_guard<std::mutex> lock(mutex_);
        return levels_;
    }

protected:
    void sink_it_(const spdlog::details::log_msg& message) override {
        texts_ << QString::fromUtf8(message.payload.data(),
                                    static_cast<int>(message.payload.size()));
        const auto level = spdlog::level::to_string_view(message.level);
        levels_ << QString::fromUtf8(level.data(), static_cast<int>(level.size()));
    }
    void flush_() override {}

private:
    QStringList texts_;
    QStringList levels_;
};

struct Log {
    std::shared_ptr<LogFanout> fanout = std::make_shared<LogFanout>();
    spdlog::logger logger{"test", fanout};

    void lines(int from, int to) {
        for (int i = from; i < to; ++i) logger.info("line {}", i);
    }
};

QStringList numbered(int from, int to) {
    QStringList texts;
    for (int i = from; i < to; ++i) texts << QString("line %1").arg(i);
    return texts;
}

}  // namespace

class LogFanoutTest : public QObject {
    Q_OBJECT

private slots:
    void the_first_taker_gets_the_earlier_lines_once_then_every_line() {
        Log log;
        auto plain = std::make_shared<RecordingSink>();
        log.fanout->add_sink(plain);
        log.lines(0, 3);
        auto journal = std::make_shared<RecordingSink>();
        log.fanout->add_sink_with_startup_lines(journal);
        log.lines(3, 5);
        auto late = std::make_shared<RecordingSink>();
        log.fanout->add_sink_with_startup_lines(late);
        log.lines(5, 6);

        QCOMPARE(journal->texts(), numbered(0, 6));
        QCOMPARE(plain->texts(), numbered(0, 6));  // each line once, not again at the hand-over
        QCOMPARE(late->texts(), numbered(5, 6));
    }

    void past_the_limit_the_oldest_go_and_the_taker_is_told_how_many() {
        Log log;
        const int total = int(LogFanout::STARTUP_LIMIT) + 7;
        log.lines(0, total);
        auto journal = std::make_shared<RecordingSink>();
        log.fanout->add_sink_with_startup_lines(journal);

        const QStringList texts = journal->texts();
        QCOMPARE(texts.size(), int(LogFanout::STARTUP_LIMIT) + 1);
        QCOMPARE(texts.first(), QString("7 earlier lines are only in the log file"));
        QCOMPARE(journal->levels().first(), QString("warning"));
        QCOMPARE(texts.mid(1), numbered(7, total));
    }

    void lines_logged_during_the_hand_over_are_neither_lost_nor_repeated() {
        Log log;
        const int total = int(LogFanout::STARTUP_LIMIT);
        auto journal = std::make_shared<RecordingSink>();
        std::thread writer([&log, total] { log.lines(0, total); });
        log.fanout->add_sink_with_startup_lines(journal);  // somewhere amid the writing
        writer.join();
        QCOMPARE(journal->texts(), numbered(0, total));
    }
};

KORVEX_TEST_GUILESS_MAIN(LogFanoutTest)
#include "tst_log_fanout.moc"
