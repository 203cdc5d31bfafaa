#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace korvex::host {

struct PluginRecord {
    QString name;
    QString category;
    QString path;                      // the library file it came from
    QObject* plugin_object = nullptr;  // the constructed plug-in instance
};

class PluginManager {
public:
    virtual ~PluginManager();
    // The loaded plug-ins of a category, in a fixed order (by library file name).
    virtual std::vector<PluginRecord> getPluginsOfCategory(const QString& category) const = 0;
};

}  // namespace korvex::host
