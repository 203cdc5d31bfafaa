#pragma once

#include <QLabel>

class QStatusBar;

namespace korvex::app {

// The status bar's message, shown beside its read-outs rather than under them. QStatusBar
// draws a message itself, from its left edge on, cut off mid-letter where its first
// permanent widget begins; this label, the first permanent widget, stretches over that
// room instead, so the layout keeps the two apart, and it shortens the message with an
// ellipsis to the room it has. QStatusBar is left no room to draw the message twice.
class StatusMessage final : public QLabel {
    Q_OBJECT

public:
    explicit StatusMessage(QStatusBar& bar);

    // The message as the bar holds it, whole.
    const QString& message() const { return message_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void show_message(const QString& message);

    QString message_;
};

}  // namespace korvex::app
