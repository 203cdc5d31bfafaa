#include "korvex/app/window/plugin_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>
#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

#include "korvex/host/plugin_menu_bar_factory.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

namespace korvex::app {

namespace {

// What each known category expects of a library's root object, and how it makes the
// plug-in object from it.
struct Category {
    QString iid;
    std::function<QObject*(QObject* root)> create;
};

const std::map<QString, Category>& categories() {
    static const std::map<QString, Category> known{
        {"PluginMenuBar",
         {qobject_interface_iid<host::PluginMenuBarFactory*>(),
          [](QObject* root) -> QObject* {
              auto* factory = qobject_cast<host::PluginMenuBarFactory*>(root);
              return factory ? factory->create().release() : nullptr;
          }}},
    };
    return known;
}

// The library files of all folders, by file name; a name in several folders keeps
// the folders' order. A folder listed twice is searched once.
QFileInfoList library_files(const QStringList& folders) {
    QFileInfoList files;
    QStringList searched;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) {
            // A folder named on its own is a mistake; on a search list, a place to look.
            const QString text = utils::format("Plug-in folder {} does not exist", folder);
            if (folders.size() == 1) {
                utils::logger().warning(text);
            } else {
                utils::logger().info(text);
            }
            continue;
        }
        if (searched.contains(dir.canonicalPath())) continue;
        searched << dir.canonicalPath();
        for (const QFileInfo& file : dir.entryInfoList(QDir::Files, QDir::Name)) {
            if (QLibrary::isLibrary(file.fileName())) files << file;
        }
    }
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.fileName() < b.fileName();
    });
    return files;
}

class LoadFailure : public std::runtime_error {
public:
    explicit LoadFailure(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

}  // namespace

QString PluginManager::shipped_folder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../plugins/korvex_plugins");
}

PluginManager::PluginManager(const QStringList& plugins_paths) {
    for (const QFileInfo& file : library_files(plugins_paths)) {
        const QString path = file.absoluteFilePath();
        try {
            load(path);
        } catch (const std::exception& e) {
            utils::logger().warning(utils::format("Plug-in {} skipped: {}", path, e.what()));
        } catch (...) {
            utils::logger().warning(utils::format("Plug-in {} skipped: unknown error", path));
        }
    }
}

PluginManager::~PluginManager() {
    for (Loaded& plugin : loaded_) delete plugin.object.data();
}

std::vector<host::PluginRecord> PluginManager::getPluginsOfCategory(const QString& category) const {
    std::vector<host::PluginRecord> records;
    for (const Loaded& plugin : loaded_) {
        if (plugin.record.category == category && plugin.object) records.push_back(plugin.record);
    }
    return records;
}

void PluginManager::leave_out(const QObject* plugin_object) {
    const auto found = std::find_if(loaded_.begin(), loaded_.end(), [&](const Loaded& plugin) {
        return plugin.record.plugin_object == plugin_object;
    });
    if (found == loaded_.end()) return;
    delete found->object.data();
    loaded_.erase(found);
}

void PluginManager::renew(const QString& category) {
    for (Loaded& plugin : loaded_) {
        if (plugin.record.category != category) continue;
        delete plugin.object.data();
        plugin.object = categories().at(category).create(plugin.root);
        plugin.record.plugin_object = plugin.object;
    }
}

void PluginManager::load(const QString& path) {
    QPluginLoader loader(path);
    const QJsonObject about = loader.metaData();
    if (about.isEmpty()) throw LoadFailure(loader.errorString());
    const QJsonObject meta = about.value("MetaData").toObject();
    const QString category = meta.value("category").toString();
    const QString name = meta.value("name").toString();
    if (category.isEmpty() || name.isEmpty()) {
        throw LoadFailure("its metadata names no category and name");
    }
    const auto known = categories().find(category);
    if (known == categories().end()) {
        throw LoadFailure(utils::format("unknown category \"{}\"", category));
    }
    const QString iid = about.value("IID").toString();
    if (iid != known->second.iid) {
        throw LoadFailure(
            utils::format("it implements \"{}\", not \"{}\"", iid, known->second.iid));
    }
    QObject* root = loader.instance();
    if (!root) throw LoadFailure(loader.errorString());
    QObject* object = known->second.create(root);
    if (!object) throw LoadFailure("its factory made no plug-in object");

    loaded_.push_back({{name, category, path, object}, object, root});
    utils::logger().info(utils::format("Plug-in \"{}\" ({}) loaded from {}", name, category, path));
}

}  // namespace korvex::app
