#include "korvex/modules/base/korvex_module_widget.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/host/window_host.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::modules {

using config::_;

KorvexModuleWidget::KorvexModuleWidget(host::WindowHost* parent)
    : QWidget(parent ? parent->widget() : nullptr), main_(parent) {}

host::WindowHost* KorvexModuleWidget::main() const { return main_; }

host::WindowHost& KorvexModuleWidget::require_main() const {
    if (!main_) {
        throw utils::AttributeError(
            utils::format("Module \"{}\" has no main window", get_module_title()).toStdString());
    }
    return *main_;
}

void KorvexModuleWidget::initialize_module() {
    if (options_button_) return;
    options_button_ = new QToolButton(this);
    options_button_->setAutoRaise(true);
    options_button_->setIcon(utils::icon("options"));
    options_button_->setToolTip(_("Options"));
    options_button_->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(options_button_);
    // Rebuilt on each opening: the module's actions and the dock's state may have changed.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        utils::call_guarded(_("Options menu"), [&] { fill_options_menu(menu); });
    });
    options_button_->setMenu(menu);
}

void KorvexModuleWidget::fill_options_menu(QMenu* menu) {
    menu->clear();
    const QList<QAction*> actions = get_module_actions();
    if (!actions.isEmpty()) {
        utils::add_actions(menu, actions);
        menu->addSeparator();
    }
    QDockWidget* dock = dockwidget();
    QAction* floating = utils::create_action(menu, _("Floating"), [dock] {
        if (dock) dock->setFloating(!dock->isFloating());
    });
    floating->setCheckable(true);
    floating->setChecked(dock && dock->isFloating());
    floating->setEnabled(dock != nullptr);
    QAction* close = utils::create_action(menu, _("Close"), [dock] {
        if (dock) dock->close();
    });
    close->setEnabled(dock != nullptr);
    menu->addAction(floating);
    menu->addAction(close);
}

QToolButton* KorvexModuleWidget::options_button() const { return options_button_; }

// A dock takes the module as its child; nothing else of the window does.
QDockWidget* KorvexModuleWidget::dockwidget() const {
    return qobject_cast<QDockWidget*>(parentWidget());
}

}  // namespace korvex::modules
