#include "korvex/app/window/journal_sink.h"

#include <QColor>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

namespace korvex::app {

namespace {

QColor level_colour(spdlog::level::level_enum level) {
    switch (level) {
        case spdlog::level::warn:
            return QColor(0xb3, 0x5c, 0x00);
        case spdlog::level::err:
        case spdlog::level::critical:
            return QColor(0xc0, 0x00, 0x00);
        default:
            return QColor();
    }
}

}  // namespace

std::shared_ptr<JournalSink> JournalSink::create(QTextBrowser* view) {
    std::shared_ptr<JournalSink> sink(new JournalSink(view));
    QTextDocument* document = view->document();
    // Also stops the undo history, which would otherwise keep every line ever shown.
    document->setMaximumBlockCount(MAXIMUM_LINES);
    std::weak_ptr<JournalSink> weak = sink;
    QObject::connect(document, &QTextDocument::contentsChanged, view, [weak, document] {
        if (!document->isEmpty()) return;
        if (const auto cleared = weak.lock()) cleared->drop_queued();
    });
    return sink;
}

JournalSink::JournalSink(QTextBrowser* view) : view_(view) { set_pattern_("%H:%M:%S.%e [%l] %v"); }

void JournalSink::sink_it_(const spdlog::details::log_msg& message) {
    if (!view_) return;
    spdlog::memory_buf_t formatted;
    formatter_->format(message, formatted);
    queued_.push_back(
        {QString::fromUtf8(formatted.data(), static_cast<int>(formatted.size())).trimmed(),
         message.level});
    if (queued_.size() > std::size_t(MAXIMUM_LINES)) queued_.pop_front();
    if (append_posted_) return;
    append_posted_ = true;
    // Always queued, even from the view's own thread: the sink holds the logger's lock
    // here, and anything the view does while appending that logs again would deadlock.
    QMetaObject::invokeMethod(
        view_.data(),
        [weak = weak_from_this()] {
            if (const auto sink = weak.lock()) sink->append_queued();
        },
        Qt::QueuedConnection);
}

void JournalSink::flush_() {}

void JournalSink::append_queued() {
    std::deque<Line> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.swap(queued_);
        append_posted_ = false;
    }
    if (!view_ || batch.empty()) return;

    QScrollBar* bar = view_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor cursor(view_->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    bool first_line = view_->document()->isEmpty();
    for (const Line& line : batch) {
        if (!first_line) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        first_line = false;
        // Plain text in a coloured format, so markup in a message stays literal.
        QTextCharFormat format;
        const QColor colour = level_colour(line.level);
        if (colour.isValid()) format.setForeground(colour);
        cursor.insertText(line.text, format);
    }
    cursor.endEditBlock();
    if (following) bar->setValue(bar->maximum());
}

void JournalSink::drop_queued() {
    std::lock_guard<std::mutex> lock(mutex_);
    queued_.clear();
}

}  // namespace korvex::app
