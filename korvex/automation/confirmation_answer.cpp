#include "korvex/automation/confirmation_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::automation {

using config::_;
using utils::format;
using utils::logger;

namespace {

constexpr int MS_BETWEEN_CHECKS = 20;

// Names a window in the log: its class, and its title when it has one.
QString describe(const QWidget* window) {
    if (!window) return QStringLiteral("no window");
    const QString type = QString::fromLatin1(window->metaObject()->className());
    if (window->windowTitle().isEmpty()) return type;
    return format("{} \"{}\"", type, window->windowTitle());
}

}  // namespace

ConfirmationAnswer::ConfirmationAnswer(const Bot& bot, QWidget& owner,
                                       std::chrono::milliseconds patience)
    : bot_(bot), owner_(owner), patience_(patience), deadline_(patience) {
    poll_.setInterval(MS_BETWEEN_CHECKS);
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        utils::call_guarded(_("Answering the quit confirmation"), [this] { check(); });
    });
    poll_.start();
}

QMessageBox* ConfirmationAnswer::open_box() const {
    for (auto* box : owner_.findChildren<QMessageBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (box->isVisible() && box->button(QMessageBox::Yes)) return box;
    }
    return nullptr;
}

void ConfirmationAnswer::check() {
    QMessageBox* box = open_box();
    QWidget* active = QApplication::activeWindow();
    if (box && active == box) {
        poll_.stop();
        bot_.mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton, MS_SCRIPTED_CLICK_DELAY);
        return;
    }
    if (deadline_.hasExpired()) {
        poll_.stop();
        logger().error(
            format("Cannot answer the quit confirmation: after {} ms {}; the active window is {}",
                   patience_.count(), box ? "it is still not in front" : "it has not opened",
                   describe(active)));
        if (box) box->reject();
        return;
    }
    if (box && !waiting_logged_) {
        waiting_logged_ = true;
        logger().info(format(
            "Waiting for the quit confirmation to come to the front; the active window is {}",
            describe(active)));
    }
}

}  // namespace korvex::automation
