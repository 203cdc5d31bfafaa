#pragma once

#include <QWidget>
#include <functional>

class QMainWindow;
class QProgressBar;

namespace korvex::app::data {

// Long work on a data object as the window shows it: a labelled progress bar with a
// cancel button at the right of the main window's status bar, removed by its owner when
// the work ends.
class StatusProgress final : public QWidget {
    Q_OBJECT

public:
    // The application's main window (the active one when there are several), or nullptr
    // when there is none, as in scripted runs of the data objects.
    static QMainWindow* main_window();
    // A new bar in the main window's status bar; nullptr without a main window.
    static StatusProgress* add(const QString& text, std::function<void()> cancel);
    // A busy bar without Cancel, for a wait that cannot be stopped nor measured.
    static StatusProgress* add_waiting(const QString& text);
    // A message in the main window's status bar, if there is one.
    static void tell(const QString& message);
    // Makes `window`'s status bar tall enough for a progress bar from the start, so that
    // the window's layout, and the 3D view's size with it, do not jump when work starts.
    static void reserve_room(QMainWindow& window);

    void set_fraction(double fraction);

private:
    StatusProgress(const QString& text, std::function<void()> cancel, QWidget* parent);

    QProgressBar* bar_;
};

}  // namespace korvex::app::data
