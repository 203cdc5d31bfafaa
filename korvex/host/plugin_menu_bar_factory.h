#pragma once

#include <QtPlugin>
#include <memory>

namespace korvex::widgets {
// The base of what a menu-bar plug-in makes; the plug-in and the host, who create and
// mount it, include it. This contract only names it.
class PluginMenuBar;
}  // namespace korvex::widgets

namespace korvex::host {

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
    virtual std::unique_ptr<widgets::PluginMenuBar> create() const = 0;
};

}  // namespace korvex::host

Q_DECLARE_INTERFACE(korvex::host::PluginMenuBarFactory, "org.korvex.PluginMenuBar/1.0")
