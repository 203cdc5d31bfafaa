#include "korvex/app/viewers/view_tabs.h"

#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

QWidget* make_view_options_button(QTabWidget* tabs, const QString& tool_tip,
                                  const QString& close_text, std::function<void(int)> close) {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setIcon(utils::icon("options"));
    button->setToolTip(tool_tip);
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    menu->addAction(utils::create_action(
        menu, close_text, [tabs, button, close] { close(tabs->indexOf(button->parentWidget())); }));
    button->setMenu(menu);
    return button;
}

void close_view_tab(QTabWidget& tabs, int index) {
    QWidget* view = tabs.widget(index);
    if (!view) return;
    tabs.removeTab(index);
    view->hide();
    view->deleteLater();
    if (tabs.count() == 0) tabs.hide();
}

QString free_tab_name(const QTabWidget& tabs, const QString& pattern) {
    for (int n = 1;; ++n) {
        const QString name = pattern.arg(n);
        bool taken = false;
        for (int i = 0; i < tabs.count(); ++i) taken = taken || tabs.tabText(i) == name;
        if (!taken) return name;
    }
}

}  // namespace korvex::app
