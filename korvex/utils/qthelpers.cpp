#include "korvex/utils/qthelpers.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "korvex/config/base.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/logger.h"

namespace korvex::utils {

using config::_;

ToolButtonOptions& ToolButtonOptions::icon(const QIcon& value) {
    icon_ = value;
    return *this;
}

ToolButtonOptions& ToolButtonOptions::tip(const QString& value) {
    tip_ = value;
    return *this;
}

ToolButtonOptions& ToolButtonOptions::shortcut(const QString& value) {
    shortcut_ = value;
    return *this;
}

ToolButtonOptions& ToolButtonOptions::triggered(std::function<void()> slot) {
    triggered_ = std::move(slot);
    return *this;
}

ToolButtonOptions& ToolButtonOptions::toggled(std::function<void(bool)> slot) {
    toggled_ = std::move(slot);
    return *this;
}

bool call_guarded(const QString& what, const std::function<void()>& slot) {
    try {
        slot();
        return true;
    } catch (const std::exception& e) {
        logger().error(format("{} failed: {}", what, e.what()));
    } catch (...) {
        logger().error(format("{} failed with an unknown error", what));
    }
    return false;
}

namespace {

// The key acts while the keyboard is in `panel`: two panels of one window can use the same
// key, and a key typed elsewhere (a terminal, a text field) stays where it was typed.
void answer_shortcut(QWidget* panel, QToolButton* button, const QString& key) {
    auto* shortcut = new QShortcut(QKeySequence(key), panel);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    // Names what the key does, for the list of keys and the button's tooltip.
    shortcut->setWhatsThis(button->toolTip());
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled()) button->click();
    });
}

}  // namespace

QToolButton* create_toolbutton(QWidget* parent, const ToolButtonOptions& options) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    if (!options.icon_.isNull()) button->setIcon(options.icon_);
    if (!options.tip_.isEmpty()) {
        button->setToolTip(options.tip_);
        button->setStatusTip(options.tip_);
    }
    if (!options.shortcut_.isEmpty())
        answer_shortcut(parent ? parent : button, button, options.shortcut_);
    const QString what = options.tip_.isEmpty() ? QStringLiteral("Button") : options.tip_;
    if (options.toggled_) {
        button->setCheckable(true);
        button->setChecked(false);
        QObject::connect(button, &QToolButton::toggled, button,
                         [what, slot = options.toggled_](bool checked) {
                             call_guarded(what, [&] { slot(checked); });
                         });
    } else if (options.triggered_) {
        QObject::connect(button, &QToolButton::clicked, button,
                         [what, slot = options.triggered_] { call_guarded(what, slot); });
    }
    return button;
}

QKeySequence key_of(const QToolButton& button) {
    if (button.toolTip().isEmpty()) return {};
    QWidget* panel =
        button.parentWidget() ? button.parentWidget() : const_cast<QToolButton*>(&button);
    for (const QShortcut* shortcut :
         panel->findChildren<QShortcut*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (shortcut->whatsThis() == button.toolTip()) return shortcut->key();
    }
    return {};
}

QToolButton* create_toolbutton_help(QWidget* parent, std::function<void()> triggered) {
    return create_toolbutton(
        parent,
        ToolButtonOptions().icon(icon("help")).tip(_("Help")).triggered(std::move(triggered)));
}

QLayout* create_module_layout(QHBoxLayout* buttons, QWidget* main_widget) {
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(buttons);
    layout->addWidget(main_widget, 1);
    return layout;
}

QAction* create_action(QObject* parent, const QString& text, std::function<void()> triggered) {
    auto* action = new QAction(text, parent);
    if (triggered) {
        QObject::connect(action, &QAction::triggered, action,
                         [text, slot = std::move(triggered)] { call_guarded(text, slot); });
    }
    return action;
}

void add_actions(QWidget* menu, const QList<QAction*>& actions) {
    for (QAction* action : actions) menu->addAction(action);
}

}  // namespace korvex::utils
