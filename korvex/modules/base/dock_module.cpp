#include "korvex/modules/base/dock_module.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>

#include "korvex/host/dockable.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::modules {

QDockWidget* dock_module(QMainWindow* window, host::Dockable* module, QMenu* view_menu,
                         Qt::DockWidgetArea area) {
    QWidget* content = module->widget();
    if (auto* docked = qobject_cast<QDockWidget*>(content->parentWidget())) return docked;
    const QString title = module->get_module_title();
    auto* dock = new QDockWidget(title, window);
    // A stable name lets the main window save and restore its dock layout.
    if (!content->objectName().isEmpty()) dock->setObjectName(content->objectName() + "_dock");
    dock->setWidget(content);
    QObject::connect(dock, &QDockWidget::visibilityChanged, content, [module, title](bool visible) {
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
    return dock;
}

}  // namespace korvex::modules
