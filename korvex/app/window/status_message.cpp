#include "korvex/app/window/status_message.h"

#include <QStatusBar>

namespace korvex::app {

StatusMessage::StatusMessage(QStatusBar& bar) : QLabel(&bar) {
    setObjectName(QStringLiteral("status_message"));
    // Its text never asks for room: the read-outs beside it take what they need first.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar.addPermanentWidget(this, 1);
    connect(&bar, &QStatusBar::messageChanged, this, &StatusMessage::show_message);
}

void StatusMessage::show_message(const QString& message) {
    message_ = message;
    setToolTip(message);
    setText(fontMetrics().elidedText(message, Qt::ElideRight, contentsRect().width()));
}

void StatusMessage::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    show_message(message_);
}

}  // namespace korvex::app
