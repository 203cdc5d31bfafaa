#include "korvex/app/window/notice_sink.h"

#include "korvex/utils/user_action.h"

namespace korvex::app {

NoticeSink::NoticeSink(QObject* receiver, Receive receive)
    : receiver_(receiver), receive_(std::move(receive)) {}

void NoticeSink::sink_it_(const spdlog::details::log_msg& message) {
    if (!receiver_) return;
    const QString text =
        QString::fromUtf8(message.payload.data(), static_cast<int>(message.payload.size()));
    const auto level = message.level;
    const bool user_action = utils::UserAction::active();
    QPointer<QObject> receiver = receiver_;
    Receive receive = receive_;
    QMetaObject::invokeMethod(
        receiver.data(),
        [receiver, receive, level, text, user_action] {
            if (receiver) receive(level, text, user_action);
        },
        Qt::QueuedConnection);
}

}  // namespace korvex::app
