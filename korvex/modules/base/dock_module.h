#pragma once

#include <Qt>

#include "korvex/modules/base/module_base_export.h"

class QDockWidget;
class QMainWindow;
class QMenu;

namespace korvex::host {
class Dockable;
}

namespace korvex::modules {

// The docking work of a main window's add_dockwidget: wraps `module` in a dock titled
// with its title, added to `area` of `window`; raising the dock focuses the module's
// focus widget; the dock's show/hide action and the module's actions go into
// `view_menu` (when given). Docking a module twice gives back its first dock.
KORVEX_MODULE_BASE_EXPORT QDockWidget* dock_module(
    QMainWindow* window, host::Dockable* module, QMenu* view_menu,
    Qt::DockWidgetArea area = Qt::BottomDockWidgetArea);

}  // namespace korvex::modules
