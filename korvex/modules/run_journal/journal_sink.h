#pragma once

#include <QPointer>
#include <mutex>

#include <spdlog/sinks/base_sink.h>

class QTextBrowser;

namespace korvex::modules {

// Appends each log line, with its time and level, to a text view; warnings and errors
// are coloured. Lines are queued to the view's thread and appended in order. Once
// the view is gone, lines are dropped.
class JournalSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    explicit JournalSink(QTextBrowser* view);

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    void flush_() override;

private:
    QPointer<QTextBrowser> view_;
};

}  // namespace korvex::modules
