#pragma once

#include <QMenuBar>
#include <QString>

#include "korvex/widgets/menu_toggle/menu_toggle_export.h"

namespace korvex::host {
class DataRegistry;
}

namespace korvex::widgets {

class MenuToggle;

// Base of the menu bars that plug-ins contribute to the toolbar switcher. Each one is
// a mode of the switcher, listed under its NAME(); the switcher hands it the data tree
// and then lets it build its menus in setup().
class KORVEX_MENU_TOGGLE_EXPORT PluginMenuBar : public QMenuBar {
    Q_OBJECT

public:
    PluginMenuBar();

    // The mode name under which the switcher lists this bar.
    virtual QString NAME() const;

    // The treebase is the key for plugins connecting to the host.
    // Reached through the switcher's owner, its main window, its treebase.
    void set_treebase(MenuToggle* parent);
    host::DataRegistry* treebase() const;

    // Adds the plug-in's menus.
    virtual void setup();

private:
    host::DataRegistry* treebase_ = nullptr;
};

}  // namespace korvex::widgets
