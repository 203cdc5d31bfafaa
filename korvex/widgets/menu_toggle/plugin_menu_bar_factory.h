#pragma once

#include <QtPlugin>
#include <memory>

#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

namespace korvex::widgets {

// The root object of a menu-bar plug-in library.
//
// The root object of a Qt plug-in is one instance per library and process, created by
// Qt and destroyed whenever Qt unloads the library, possibly after the application
// object is gone. A widget cannot live like that: two switchers would share (and
// reparent) one bar, and a widget must not outlive QApplication. So the root object
// is this small factory, and the plug-in manager asks it for a menu bar that it then
// owns for as long as the manager lives.
class PluginMenuBarFactory {
public:
    virtual ~PluginMenuBarFactory() = default;
    virtual std::unique_ptr<PluginMenuBar> create() const = 0;
};

}  // namespace korvex::widgets

Q_DECLARE_INTERFACE(korvex::widgets::PluginMenuBarFactory, "org.korvex.PluginMenuBar/1.0")
