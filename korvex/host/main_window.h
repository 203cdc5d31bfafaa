#pragma once

#include <QString>

class QMainWindow;

namespace korvex::modules {
class KorvexModuleWidget;
}

namespace korvex::host {

class DataTree;
class PluginManager;

// The project database; modules only hold it and hand it back to the host.
class ProjectDatabase {
public:
    virtual ~ProjectDatabase();
};

// The main window as the modules see it.
class MainWindowInterface {
public:
    virtual ~MainWindowInterface();

    virtual DataTree* treebase() const = 0;
    virtual ProjectDatabase* database() const = 0;
    virtual PluginManager* plugins_manager() const = 0;
    virtual QString workdir() const = 0;
    // Docks a module in the main window.
    virtual void add_dockwidget(modules::KorvexModuleWidget* module) = 0;
    // Runs a script in the work directory, its output going to the log.
    virtual void run_script(const QString& path) = 0;
    // The Qt window itself, as a parent for docks and dialogs.
    virtual QMainWindow* window() = 0;
};

// An object that reaches the main window: the last link of every owner chain.
class MainHolder {
public:
    virtual ~MainHolder();
    virtual MainWindowInterface* main() const = 0;
};

}  // namespace korvex::host
