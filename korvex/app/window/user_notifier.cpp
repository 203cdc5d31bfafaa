#include "korvex/app/window/user_notifier.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include "korvex/app/window/notice_sink.h"
#include "korvex/app/window/status_message.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

using config::_;

UserNotifier::UserNotifier(QMainWindow* window)
    : QObject(window), window_(window), status_bar_(window->statusBar()) {
    new StatusMessage(*status_bar_);
    sink_ = std::make_shared<NoticeSink>(
        this, [this](spdlog::level::level_enum level, const QString& text, bool user_action) {
            receive(level, text, user_action);
        });
    utils::logger().attach_sink(sink_);
}

UserNotifier::~UserNotifier() { utils::logger().detach_sink(sink_); }

void UserNotifier::receive(spdlog::level::level_enum level, const QString& text, bool user_action) {
    if (level >= spdlog::level::warn) {
        status_bar_->showMessage(text);
        since_failure_.start();
    } else if (level == spdlog::level::info &&
               (!since_failure_.isValid() || since_failure_.hasExpired(FAILURE_MS))) {
        status_bar_->showMessage(text, OUTCOME_MS);
    }
    if (level < spdlog::level::err || !user_action || !message_boxes_) return;
    errors_ << text;
    // One box for everything the action got wrong, once the action is over.
    if (errors_.size() == 1) QTimer::singleShot(0, this, [this] { show_errors(); });
}

void UserNotifier::show_errors() {
    const QString text = errors_.join('\n');
    errors_.clear();
    QMessageBox::warning(window_, _("korvex"), text);
}

}  // namespace korvex::app
