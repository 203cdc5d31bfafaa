#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/host/plugin_registry.h"

namespace korvex::app {

// Loads the plug-in libraries found in one or more folders.
//
// Each library carries JSON metadata {"category": ..., "name": ...}; its root object is
// the factory of its category (for "PluginMenuBar", a host::PluginMenuBarFactory),
// which makes the plug-in object this manager then owns. Libraries are taken in order
// of file name over all folders (a name found in several folders: in folder order),
// and that is the order of getPluginsOfCategory. A file that does not load, has no or
// an unknown category, or whose factory fails, is logged with the file and the reason
// and skipped; the others still load. Libraries stay loaded until the process ends.
//
// Plug-in objects are widgets: make the manager after the QApplication and destroy it
// before (a main window's member does both). A main window mounts the switcher with
//   plugins_manager_ = std::make_unique<PluginManager>(QStringList{options.plugins_paths});
//   addToolBar(build_menu_toggle(*this, *plugins_manager_));  // this: a host::MainHolder
class KORVEX_APP_EXPORT PluginManager final : public host::PluginRegistry {
public:
    // Where the plug-ins shipped with the application are: plugins/korvex_plugins beside
    // the folder of the executable, alike in the build tree and in an installed tree.
    static QString shipped_folder();

    explicit PluginManager(const QStringList& plugins_paths);
    ~PluginManager() override;
    PluginManager(const PluginManager&) = delete;
    PluginManager& operator=(const PluginManager&) = delete;

    // Plug-ins whose object has been deleted elsewhere are left out.
    std::vector<host::PluginRecord> getPluginsOfCategory(const QString& category) const override;

    // Deletes the plug-in object and lists the plug-in no more.
    void leave_out(const QObject* plugin_object);
    // Gives each plug-in of `category` a new object from its library, as it had when
    // loaded: for a start again after its objects were used.
    void renew(const QString& category);

private:
    void load(const QString& path);

    struct Loaded {
        host::PluginRecord record;
        QPointer<QObject> object;
        // The library's root object, which makes the plug-in objects.
        QObject* root;
    };
    std::vector<Loaded> loaded_;
};

}  // namespace korvex::app
