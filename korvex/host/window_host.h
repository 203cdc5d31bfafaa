#pragma once

#include <QString>

#include "korvex/host/host_export.h"

class QWidget;

namespace korvex::host {

class DataRegistry;
class Dockable;
class PluginRegistry;
class ProjectHandle;

// The main window as the modules see it.
class KORVEX_HOST_EXPORT WindowHost {
public:
    virtual ~WindowHost();

    virtual DataRegistry* treebase() const = 0;
    virtual ProjectHandle* database() const = 0;
    virtual PluginRegistry* plugins_manager() const = 0;
    virtual QString workdir() const = 0;
    // Docks a module in the main window.
    virtual void add_dockwidget(Dockable* module) = 0;
    // Runs a script in the work directory, its output going to the log.
    virtual void run_script(const QString& path) = 0;
    // The window itself, as the parent of docks and dialogs and the context of connections.
    virtual QWidget* widget() const = 0;
};

}  // namespace korvex::host
