#include "korvex/app/window/edit_menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/utils/undo_service.h"
#include "korvex/utils/user_action.h"
#include "korvex/widgets/terminal/terminal.h"

namespace korvex::app {

using config::_;

namespace {

const QKeySequence UNDO_KEY(QStringLiteral("Ctrl+Z"));
const QKeySequence REDO_KEY(QStringLiteral("Ctrl+Shift+Z"));

bool in_terminal(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (qobject_cast<const widgets::Terminal*>(widget)) return true;
    return false;
}

QAction* make_action(QMenu* menu, const QKeySequence& key, std::function<void()> slot) {
    QAction* action = menu->addAction(QString());
    action->setShortcut(key);
    // The appearance windows are windows of their own; their changes are undone there too.
    action->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(action, &QAction::triggered, action, [slot = std::move(slot)] {
        const utils::UserAction users_own;
        utils::call_guarded(_("Undo or redo"), slot);
    });
    return action;
}

}  // namespace

EditMenu::EditMenu(utils::UndoService& undo, QMenuBar& bar, QObject* parent)
    : QObject(parent), undo_(undo) {
    QMenu* menu = bar.addMenu(_("&Edit"));
    undo_action_ = make_action(menu, UNDO_KEY, [this] { undo_.undo(); });
    redo_action_ = make_action(menu, REDO_KEY, [this] { undo_.redo(); });
    connect(&undo_.stack(), &QUndoStack::indexChanged, this, [this] { follow_stack(); });
    follow_stack();
    qApp->installEventFilter(this);
}

EditMenu::~EditMenu() { qApp->removeEventFilter(this); }

void EditMenu::follow_stack() {
    const QUndoStack& stack = undo_.stack();
    undo_action_->setEnabled(stack.canUndo());
    redo_action_->setEnabled(stack.canRedo());
    undo_action_->setText(stack.canUndo() ? _("Undo %1").arg(stack.undoText()) : _("Undo"));
    redo_action_->setText(stack.canRedo() ? _("Redo %1").arg(stack.redoText()) : _("Redo"));
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    // Before a key becomes a shortcut, the widget with the keyboard may claim it. The
    // terminal leaves Ctrl+Shift keys to the window, but Ctrl+Shift+Z reaches the shell
    // as a Ctrl+Z of its own.
    if (event->type() == QEvent::ShortcutOverride && watched == QApplication::focusWidget()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence typed(int(key->modifiers()) | key->key());
        if ((typed == UNDO_KEY || typed == REDO_KEY) && in_terminal(QApplication::focusWidget())) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvex::app
