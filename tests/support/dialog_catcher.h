#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QStringList>

namespace korvex::testing {

// Rejects every dialog that opens and remembers its title, so that a key or click that
// opens one unexpectedly fails the test by name instead of leaving it waiting.
class DialogCatcher final : public QObject {
public:
    // Which dialogs are caught: only modal ones (a test that opens modeless pages itself),
    // or every dialog window.
    enum class Catch { modal, every_window };

    explicit DialogCatcher(Catch which = Catch::every_window) : which_(which) {
        qApp->installEventFilter(this);
    }
    ~DialogCatcher() override { qApp->removeEventFilter(this); }

    QStringList titles;
    // Titles of dialogs a test answers itself: they are let through.
    QStringList awaited;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || awaited.contains(dialog->windowTitle()))
            return false;
        if (which_ == Catch::modal ? dialog->isModal() : dialog->isWindow()) {
            titles << dialog->windowTitle();
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }

private:
    Catch which_;
};

}  // namespace korvex::testing
