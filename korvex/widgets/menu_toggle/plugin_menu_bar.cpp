#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

#include "korvex/utils/errors.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"

namespace korvex::widgets {

PluginMenuBar::PluginMenuBar() : QMenuBar(nullptr) {}

QString PluginMenuBar::NAME() const { return QStringLiteral("Plugin Menu Bar"); }

void PluginMenuBar::set_treebase(MenuToggle* parent) {
    if (!parent)
        throw utils::AttributeError(
            "a plug-in menu bar reaches the data tree through its switcher");
    treebase_ = parent->treebase();
}

host::DataRegistry* PluginMenuBar::treebase() const { return treebase_; }

void PluginMenuBar::setup() {
    throw utils::NotImplementedError("the plug-in menu bar does not build its menus (setup)");
}

}  // namespace korvex::widgets
