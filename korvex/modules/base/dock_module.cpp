#include "korvex/modules/base/dock_module.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>

#include "korvex/modules/base/korvex_module_widget.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::modules {

QDockWidget* dock_module(QMainWindow* window, KorvexModuleWidget* module, QMenu* view_menu,
                         Qt::DockWidgetArea area) {
    if (module->dockwidget_) return module->dockwidget_;
    const QString title = module->get_module_title();
    auto* dock = new QDockWidget(title, window);
    // A stable name lets the main window save and restore its dock layout.
    if (!module->objectName().isEmpty()) dock->setObjectName(module->objectName() + "_dock");
    dock->setWidget(module);
    QObject::connect(dock, &QDockWidget::visibilityChanged, module, [module, title](bool visible) {
        if (!visible) return;
        utils::call_guarded(title, [module] {
            if (QWidget* focus = module->get_focus_widget()) focus->setFocus(Qt::OtherFocusReason);
        });
    });
    window->addDockWidget(area, dock, Qt::Horizontal);
    if (view_menu) {
        QList<QAction*> actions{dock->toggleViewAction()};
        actions += module->get_module_actions();
        utils::add_actions(view_menu, actions);
    }
    module->dockwidget_ = dock;
    return dock;
}

}  // namespace korvex::modules
