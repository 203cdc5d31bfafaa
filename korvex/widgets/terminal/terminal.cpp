#include "korvex/widgets/terminal/terminal.h"

#include <qtermwidget.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::widgets {

using config::_;
using utils::format;
using utils::logger;

namespace {

QString shell_quoted(QString text) { return "'" + text.replace("'", "'\\''") + "'"; }

}  // namespace

Terminal::Terminal(QWidget* parent, QWidget* options_button)
    : QWidget(parent), console_(make_console()) {
    setFocusProxy(console_);
    run_script_action_ = utils::create_action(this, _("Run script…"), [this] { choose_script(); });
    run_script_action_->setToolTip(
        _("Run a script in the work directory, its output going to the log"));
    auto* run_button = new QToolButton(this);
    run_button->setDefaultAction(run_script_action_);
    run_button->setAutoRaise(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(run_button);
    buttons->addStretch();
    if (options_button) buttons->addWidget(options_button, 0, Qt::AlignRight);
    setLayout(utils::create_module_layout(buttons, console_));
}

QString Terminal::shell_program() {
    const QString shell = qEnvironmentVariable("SHELL");
    const QFileInfo info(shell);
    if (!shell.isEmpty() && info.isFile() && info.isExecutable()) return shell;
    return QStringLiteral("/bin/bash");
}

void Terminal::set_work_dir(const QString& path) {
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir()) {
        logger().warning(format("The terminal cannot go to \"{}\": no such folder", path));
        return;
    }
    work_dir_ = folder.absoluteFilePath();
    if (!started_) {
        console_->setWorkingDirectory(work_dir_);
        return;
    }
    if (!shell_in_foreground()) {
        logger().warning(format("The terminal is busy; its shell stays out of \"{}\"", work_dir_));
        return;
    }
    // Ctrl+E Ctrl+U first: whatever the user had half typed at the prompt is dropped
    // rather than run in front of the cd. The leading space keeps it out of history.
    console_->sendText("\x05\x15 cd -- " + shell_quoted(work_dir_) + "\n");
}

QString Terminal::work_dir() const { return work_dir_; }

QTermWidget* Terminal::make_console() {
    auto* console = new QTermWidget(0, this);
    console->setShellProgram(shell_program());
    console->setColorScheme("WhiteOnBlack");
    console->setScrollBarPosition(QTermWidget::ScrollBarRight);
    console->setHistorySize(10000);
    if (!work_dir_.isEmpty()) console->setWorkingDirectory(work_dir_);
    connect(console, &QTermWidget::finished, this, [this] {
        utils::call_guarded(_("Restarting the terminal"), [this] { shell_finished(); });
    });
    connect(console, &QTermWidget::termKeyPressed, this,
            [this] { utils::call_guarded(_("Starting the terminal"), [this] { start_shell(); }); });
    return console;
}

void Terminal::set_min_shell_life(std::chrono::milliseconds life) { min_shell_life_ = life; }

void Terminal::set_starts_when_shown(bool starts) { starts_when_shown_ = starts; }

void Terminal::start_shell() {
    if (started_) return;
    started_ = true;
    shell_clock_.start();
    console_->startShellProgram();
}

void Terminal::shell_finished() {
    started_ = false;
    // The widget hides its display for good once its shell ends: a new shell needs a new one.
    QTermWidget* finished = console_;
    console_ = make_console();
    layout()->replaceWidget(finished, console_);
    setFocusProxy(console_);
    finished->deleteLater();
    if (shell_clock_.elapsed() < min_shell_life_.count()) {
        logger().warning(
            format("The terminal's shell {} ended at once; a key press in the terminal "
                   "starts it again",
                   shell_program()));
        return;
    }
    logger().info(_("The terminal's shell has exited; a new one is started"));
    start_shell();
}

int Terminal::shell_pid() const { return started_ ? console_->getShellPID() : 0; }

QTermWidget* Terminal::console() const { return console_; }

QAction* Terminal::run_script_action() const { return run_script_action_; }

void Terminal::choose_script() {
    const QString start = work_dir_.isEmpty() ? QDir::currentPath() : work_dir_;
    const QString path = QFileDialog::getOpenFileName(this, _("Run script"), start,
                                                      "Shell scripts (*.sh);;All files (*)");
    if (!path.isEmpty()) emit sig_run_script(path);
}

bool Terminal::event(QEvent* event) {
    // Before a key becomes a shortcut, the focused widget and then its ancestors may claim
    // it; the console leaves the keys it has no use for unclaimed, and they come here.
    if (event->type() == QEvent::ShortcutOverride && claims(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool Terminal::claims(const QKeyEvent& key) const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || !(focus == console_ || console_->isAncestorOf(focus))) return false;
    // Everything typed into the console is the shell's (letters, Ctrl+D, Ctrl+L...) but
    // Ctrl+Shift combinations, which stay with the window as in desktop terminals.
    const Qt::KeyboardModifiers window_keys = Qt::ControlModifier | Qt::ShiftModifier;
    return (key.modifiers() & window_keys) != window_keys;
}

void Terminal::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (starts_when_shown_)
        utils::call_guarded(_("Starting the terminal"), [this] { start_shell(); });
}

bool Terminal::shell_in_foreground() const {
    const int pid = shell_pid();
    if (pid <= 0) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    // Fields after the parenthesised command name: state ppid pgrp session tty_nr tpgid.
    // The shell owns the prompt when the terminal's foreground group is its own.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 5 && fields[5].toInt() == pid;
}

}  // namespace korvex::widgets
