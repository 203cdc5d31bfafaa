#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

#include "korvex/utils/utils_export.h"

class QAction;
class QHBoxLayout;
class QLayout;
class QObject;
class QToolButton;
class QWidget;

namespace korvex::utils {

// Named options of create_toolbutton, set in any order:
//   create_toolbutton(this, ToolButtonOptions().icon(icon("view_all")).tip(_("View
//   all")).triggered(f))
class KORVEX_UTILS_EXPORT ToolButtonOptions {
public:
    ToolButtonOptions& icon(const QIcon& value);
    ToolButtonOptions& tip(const QString& value);
    ToolButtonOptions& shortcut(const QString& value);
    ToolButtonOptions& triggered(std::function<void()> slot);
    ToolButtonOptions& toggled(std::function<void(bool)> slot);

private:
    friend QToolButton* create_toolbutton(QWidget*, const ToolButtonOptions&);
    QIcon icon_;
    QString tip_;
    QString shortcut_;
    std::function<void()> triggered_;
    std::function<void(bool)> toggled_;
};

// Runs `slot`; an exception it throws is logged at error level, naming `what`, and
// goes no further. Everything wired to the event loop runs through here. True when the
// slot ran to its end.
KORVEX_UTILS_EXPORT bool call_guarded(const QString& what, const std::function<void()>& slot);

// A tool button owned by `parent`. With `triggered` a click calls the slot; with
// `toggled` the button is checkable, starts unchecked and each toggle calls the slot
// with the new state. The shortcut clicks the button while the keyboard focus is in the
// parent or one of its children.
KORVEX_UTILS_EXPORT QToolButton* create_toolbutton(QWidget* parent,
                                                   const ToolButtonOptions& options);

// The key that clicks a button made by create_toolbutton; empty when it has none (or
// gave it up). The shortcut carries the button's tip as its whatsThis.
KORVEX_UTILS_EXPORT QKeySequence key_of(const QToolButton& button);

KORVEX_UTILS_EXPORT QToolButton* create_toolbutton_help(QWidget* parent,
                                                        std::function<void()> triggered);

// Stacks a filled button row above the main widget; install the result with setLayout.
KORVEX_UTILS_EXPORT QLayout* create_module_layout(QHBoxLayout* buttons, QWidget* main_widget);

KORVEX_UTILS_EXPORT QAction* create_action(QObject* parent, const QString& text,
                                           std::function<void()> triggered);

// Appends the actions to `menu` in order; an action may live in several menus.
KORVEX_UTILS_EXPORT void add_actions(QWidget* menu, const QList<QAction*>& actions);

}  // namespace korvex::utils
