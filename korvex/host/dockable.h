#pragma once

#include <QList>
#include <QString>

#include "korvex/host/host_export.h"

class QAction;
class QWidget;

namespace korvex::host {

// What the main window needs of a module to dock it: the widget that goes into the dock,
// its title, where the keyboard goes when the dock is raised, the actions it offers the
// window's menus, and its say on closing the window.
class KORVEX_HOST_EXPORT Dockable {
public:
    virtual ~Dockable();

    virtual QWidget* widget() = 0;
    virtual QString get_module_title() const = 0;
    virtual QWidget* get_focus_widget() const = 0;
    virtual QList<QAction*> get_module_actions() const = 0;
    // Whether the main window may close.
    virtual bool closing_module(bool cancelable = false) = 0;
};

}  // namespace korvex::host
