#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "korvex/host/host_export.h"

namespace korvex::host {

struct PluginRecord {
    QString name;
    QString category;
    QString path;                      // the library file it came from
    QObject* plugin_object = nullptr;  // the constructed plug-in instance
};

// The loaded plug-ins as the modules see the plug-in manager.
class KORVEX_HOST_EXPORT PluginRegistry {
public:
    virtual ~PluginRegistry();
    // The loaded plug-ins of a category, in a fixed order (by library file name).
    virtual std::vector<PluginRecord> getPluginsOfCategory(const QString& category) const = 0;
};

}  // namespace korvex::host
