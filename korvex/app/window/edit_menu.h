#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

namespace korvex::utils {
class UndoService;
}

namespace korvex::app {

// The Edit menu: Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z) of the user's changes, named
// after the change they take back or make again. The keys act in every window of the
// application but never where the keyboard belongs to what it types into: a text field
// keeps them for its own text, and the workspace shell for the shell.
class EditMenu final : public QObject {
    Q_OBJECT

public:
    EditMenu(utils::UndoService& undo, QMenuBar& bar, QObject* parent = nullptr);
    ~EditMenu() override;

    QAction* undo_action() const { return undo_action_; }
    QAction* redo_action() const { return redo_action_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow_stack();

    utils::UndoService& undo_;
    QAction* undo_action_;
    QAction* redo_action_;
};

}  // namespace korvex::app
