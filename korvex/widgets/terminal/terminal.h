#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <chrono>

#include "korvex/widgets/terminal/terminal_export.h"

class QAction;
class QKeyEvent;
class QTermWidget;

namespace korvex::widgets {

// A terminal running the user's shell in a pseudo-terminal, under a button row with a
// "Run script…" action and, when given, the embedding module's options button. The
// shell starts when the terminal is first shown, in the work directory if one was set,
// and a new one replaces it when it exits.
class KORVEX_TERMINAL_EXPORT Terminal final : public QWidget {
    Q_OBJECT

public:
    explicit Terminal(QWidget* parent = nullptr, QWidget* options_button = nullptr);

    // $SHELL when it names an executable, else /bin/bash.
    static QString shell_program();

    // Makes `path` the shell's working directory: where it will start, or, once it runs,
    // by typing a cd at its prompt. A missing folder, or a shell busy with another
    // program, is logged and leaves the shell where it is.
    void set_work_dir(const QString& path);
    QString work_dir() const;

    // A shell that ends sooner than `life` after starting is not restarted on its own:
    // it would most likely end at once again. Two seconds unless set.
    void set_min_shell_life(std::chrono::milliseconds life);

    // Whether showing the terminal for the first time starts its shell (it does unless
    // told otherwise); a key pressed in it always does.
    void set_starts_when_shown(bool starts);
    void start_shell();
    // The running shell's process id, or 0.
    int shell_pid() const;
    // Whether the shell itself, not a program it started, has the terminal.
    bool shell_in_foreground() const;

    QTermWidget* console() const;
    QAction* run_script_action() const;

    // Asks for a script file and announces the choice through sig_run_script.
    void choose_script();

signals:
    void sig_run_script(const QString& path);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Whether a key typed now belongs to the shell rather than to a shortcut of the window.
    bool claims(const QKeyEvent& key) const;
    QTermWidget* make_console();
    void shell_finished();

    QElapsedTimer shell_clock_;
    std::chrono::milliseconds min_shell_life_{2000};
    QString work_dir_;
    bool started_ = false;
    bool starts_when_shown_ = true;
    QTermWidget* console_;
    QAction* run_script_action_;
};

}  // namespace korvex::widgets
