#include "korvex/widgets/menu_toggle/menu_bar_action.h"

#include <QMenuBar>

namespace korvex::widgets {

MenuBarAction::MenuBarAction(QMenuBar* bar, QObject* parent)
    : QWidgetAction(parent), bar_(bar), home_(bar->parentWidget()) {}

QWidget* MenuBarAction::createWidget(QWidget* parent) {
    bar_->setParent(parent);
    return bar_;
}

void MenuBarAction::deleteWidget(QWidget* widget) {
    widget->hide();
    widget->setParent(home_);
}

}  // namespace korvex::widgets
