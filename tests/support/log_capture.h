#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

#include <spdlog/sinks/base_sink.h>

namespace korvex::testing {

// Records every line of the application log while it lives.
class LogCapture {
public:
    struct Line {
        QString level;  // "info", "warning" or "error"
        QString text;
    };

    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Line> lines() const;
    QStringList texts() const;
    bool contains(const QString& level, const QString& text) const;
    void clear();

private:
    class Sink;
    std::shared_ptr<Sink> sink_;
};

}  // namespace korvex::testing
