#include "korvex/app/window/user_notifier.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

#include "korvex/app/window/notice_sink.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/section_view/elided_label.h"

namespace korvex::app {

using config::_;

UserNotifier::UserNotifier(QMainWindow* window)
    : QObject(window), window_(window), status_bar_(window->statusBar()) {
    // QStatusBar draws its message itself, from its left edge on, cut off mid-letter where
    // its first permanent widget (the mouse's read-out) begins; as that first widget, this
    // label takes the room instead, so the layout keeps the two apart and QStatusBar has
    // none left to draw the message twice.
    auto* message = new widgets::ElidedLabel({}, status_bar_);
    message->setObjectName(QStringLiteral("status_message"));
    message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_bar_->addPermanentWidget(message, 1);
    connect(status_bar_, &QStatusBar::messageChanged, message,
            &widgets::ElidedLabel::set_whole_text);
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
