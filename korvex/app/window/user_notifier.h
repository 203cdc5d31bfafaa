#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <memory>

#include <spdlog/common.h>

class QMainWindow;
class QStatusBar;

namespace korvex::app {

class NoticeSink;

// Tells the user how things end, in the window and not only in the run journal: the
// status bar shows each warning and error of the log (what failed, and why) and, for a
// while, each other outcome; errors logged during a user's own action (utils::UserAction)
// also come as one message box once the action is over.
class UserNotifier final : public QObject {
    Q_OBJECT

public:
    // How long an outcome stays in the status bar, and how long a failure is kept there
    // before outcomes may replace it.
    static constexpr int OUTCOME_MS = 5000;
    static constexpr int FAILURE_MS = 15000;

    explicit UserNotifier(QMainWindow* window);
    ~UserNotifier() override;

    // Scripted runs show no message boxes: nobody is there to close them.
    void set_message_boxes(bool on) { message_boxes_ = on; }
    bool message_boxes() const { return message_boxes_; }

private:
    void receive(spdlog::level::level_enum level, const QString& text, bool user_action);
    void show_errors();

    QMainWindow* window_;
    QStatusBar* status_bar_;
    std::shared_ptr<NoticeSink> sink_;
    QStringList errors_;
    QElapsedTimer since_failure_;
    bool message_boxes_ = true;
};

}  // namespace korvex::app
