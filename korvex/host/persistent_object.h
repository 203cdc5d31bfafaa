#pragma once

#include <QString>
#include <QVariantMap>

#include "korvex/host/host_export.h"

namespace korvex::host {

// A data object that a project can store and bring back. The host keeps a loader per
// type_name(); given source_path() and settings() it rebuilds an equal object.
// Data objects that do not offer this stay in the session but are not saved.
class KORVEX_HOST_EXPORT PersistentObject {
public:
    virtual ~PersistentObject();

    virtual QString type_name() const = 0;
    // The file the object was read from, as an absolute path.
    virtual QString source_path() const = 0;
    // How the object is drawn (colours, clips, positions...), JSON-compatible values.
    virtual QVariantMap settings() const = 0;
};

}  // namespace korvex::host
