#pragma once

#include <QPointer>
#include <QString>
#include <deque>
#include <memory>
#include <mutex>

#include <spdlog/sinks/base_sink.h>

#include "korvex/app/app_export.h"

class QTextBrowser;

namespace korvex::app {

// Appends each log line, with its time and level, to a text view; warnings and errors
// are coloured. Lines are queued and appended in order, in batches at the next turn of
// the view's event loop, so that a burst of lines costs one edit of the view rather than
// one per line. The view keeps the newest MAXIMUM_LINES lines; the log file keeps all.
// Emptying the view (its clear button) also drops the lines still queued: they were
// logged before the clear. Once the view is gone, lines are dropped.
class KORVEX_APP_EXPORT JournalSink final : public spdlog::sinks::base_sink<std::mutex>,
                                            public std::enable_shared_from_this<JournalSink> {
public:
    static constexpr int MAXIMUM_LINES = 2000;

    // Bounds `view` to MAXIMUM_LINES lines and makes the sink that writes into it.
    static std::shared_ptr<JournalSink> create(QTextBrowser* view);

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    void flush_() override;

private:
    struct Line {
        QString text;
        spdlog::level::level_enum level;
    };

    explicit JournalSink(QTextBrowser* view);
    // Takes the queue and appends it to the view; the view's thread only.
    void append_queued();
    void drop_queued();

    QPointer<QTextBrowser> view_;
    // Both guarded by the sink's mutex. Never more lines than the view keeps, however
    // long the view's thread is busy.
    std::deque<Line> queued_;
    bool append_posted_ = false;
};

}  // namespace korvex::app
