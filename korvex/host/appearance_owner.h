#pragma once

#include <QString>

#include "korvex/host/host_export.h"

namespace korvex::host {

class DataRegistry;

// Whoever opens an appearance page: it knows the data tree and which object the
// page configures.
class KORVEX_HOST_EXPORT AppearanceOwner {
public:
    virtual ~AppearanceOwner();

    virtual DataRegistry* data_tree() const = 0;
    // Name of the data object the page configures, a key of the tree's object_data.
    virtual QString objname() const = 0;
};

}  // namespace korvex::host
