#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <mutex>

#include <spdlog/sinks/base_sink.h>

namespace korvex::app {

// Hands each log line, with its level and whether a user's action was running when it
// was logged, to `receive` in the receiver's thread. Always queued: the logger holds
// its lock here, and anything that logs again would deadlock.
class NoticeSink final : public spdlog::sinks::base_sink<std::mutex> {
public:
    using Receive = std::function<void(spdlog::level::level_enum, const QString&, bool)>;

    NoticeSink(QObject* receiver, Receive receive);

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    void flush_() override {}

private:
    QPointer<QObject> receiver_;
    Receive receive_;
};

}  // namespace korvex::app
