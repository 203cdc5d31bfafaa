#pragma once

#include "korvex/app/app_export.h"

class QWidget;

namespace korvex::widgets {
class MenuToggle;
}

namespace korvex::app {

class PluginManager;

// The switcher as a main window mounts it: a menu-bar plug-in that fails while the
// switcher is built (its NAME, or its setup) is logged, which plug-in and why, and left
// out of `plugins`; the others keep their modes, each set up once in the switcher
// returned. Errors that are no plug-in's propagate. `owner` must be a host::MainHolder
// whose plug-in manager is `plugins`.
KORVEX_APP_EXPORT widgets::MenuToggle* build_menu_toggle(QWidget* owner, PluginManager& plugins);

}  // namespace korvex::app
