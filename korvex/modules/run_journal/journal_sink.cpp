#include "korvex/modules/run_journal/journal_sink.h"

#include <QColor>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>

namespace korvex::modules {

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

// Inserted as plain text in a coloured format, so markup in a message stays literal.
void append_line(QTextBrowser* view, const QString& line, const QColor& colour) {
    QScrollBar* bar = view->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    if (!view->document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextCharFormat format;
    if (colour.isValid()) format.setForeground(colour);
    cursor.insertText(line, format);
    if (following) bar->setValue(bar->maximum());
}

}  // namespace

JournalSink::JournalSink(QTextBrowser* view) : view_(view) {
    set_pattern_("%H:%M:%S.%e [%l] %v");
}

void JournalSink::sink_it_(const spdlog::details::log_msg& message) {
    if (!view_) return;
    spdlog::memory_buf_t formatted;
    formatter_->format(message, formatted);
    const QString line =
        QString::fromUtf8(formatted.data(), static_cast<int>(formatted.size())).trimmed();
    const QColor colour = level_colour(message.level);
    QPointer<QTextBrowser> view = view_;
    // Always queued, even from the view's own thread: the sink holds the logger's lock
    // here, and anything the view does while appending that logs again would deadlock.
    QMetaObject::invokeMethod(
        view.data(), [view, line, colour] { if (view) append_line(view, line, colour); },
        Qt::QueuedConnection);
}

void JournalSink::flush_() {}

}  // namespace korvex::modules
