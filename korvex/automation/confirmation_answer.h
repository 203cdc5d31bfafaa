#pragma once

#include <QDeadlineTimer>
#include <QTimer>
#include <chrono>

#include "korvex/automation/bot.h"

class QMessageBox;
class QWidget;

namespace korvex::automation {

// Answers Yes to the confirmation box `owner` opens, once that box is the application's
// active window: the answer goes to the dialog in front, as a user's would. A loaded
// machine can take seconds to bring a new dialog to the front, so it is watched for,
// not expected at a fixed moment. When the box is not in front within `patience`, the
// failure is logged and the box declined, so that the click which opened it returns.
// Watches from construction until it answers, gives up or is destroyed.
class ConfirmationAnswer final {
public:
    ConfirmationAnswer(const Bot& bot, QWidget& owner, std::chrono::milliseconds patience);
    ConfirmationAnswer(const ConfirmationAnswer&) = delete;
    ConfirmationAnswer& operator=(const ConfirmationAnswer&) = delete;

private:
    void check();
    QMessageBox* open_box() const;

    Bot bot_;
    QWidget& owner_;
    std::chrono::milliseconds patience_;
    QDeadlineTimer deadline_;
    QTimer poll_;
    bool waiting_logged_ = false;
};

}  // namespace korvex::automation
