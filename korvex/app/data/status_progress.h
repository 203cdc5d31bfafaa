#pragma once

#include <QWidget>
#include <functional>

#include "korvex/app/data/data_export.h"

class QMainWindow;
class QProgressBar;

namespace korvex::app::data {

// Long work on a data object as the window shows it: a labelled progress bar with a
// cancel button at the right of the status bar of the window the object was handed
// (its host), removed by its owner when the work ends. Without a host, as in scripted
// runs of the data objects, there is no bar.
class KORVEX_DATA_EXPORT StatusProgress final : public QWidget {
    Q_OBJECT

public:
    // A new bar in the host's status bar; nullptr without a host.
    static StatusProgress* add(QMainWindow* host, const QString& text,
                               std::function<void()> cancel);
    // A busy bar without Cancel, for a wait that cannot be stopped nor measured.
    static StatusProgress* add_waiting(QMainWindow* host, const QString& text);
    // A message in the host's status bar, if there is a host.
    static void tell(QMainWindow* host, const QString& message);
    // Makes `window`'s status bar tall enough for a progress bar from the start, so that
    // the window's layout, and the 3D view's size with it, do not jump when work starts.
    static void reserve_room(QMainWindow& window);

    void set_fraction(double fraction);

private:
    StatusProgress(const QString& text, std::function<void()> cancel, QWidget* parent);

    QProgressBar* bar_;
};

}  // namespace korvex::app::data
