#pragma once

#include <QString>
#include <map>

#include "korvex/host/data_item.h"
#include "korvex/host/host_export.h"

namespace korvex::host {

class DataObject;

// The loaded data objects as the modules see the data tree. The concrete tree also
// emits sig_unchecked_all() after unchecking every item; the host connects it to the
// viewers.
class KORVEX_HOST_EXPORT DataRegistry {
public:
    virtual ~DataRegistry();

    // name -> data object
    virtual std::map<QString, DataObject*> object_data() const = 0;
    // name -> the object's entry in the tree
    virtual std::map<QString, DataItem> object_items() const = 0;
    // Selects the entry. Throws utils::LookupError when its object is no longer loaded.
    virtual void setCurrentItem(const DataItem& item) = 0;

    // Whether the object's item is checked (shown in the active viewer).
    virtual bool is_checked(const QString& name) const = 0;
    // Checks or unchecks the object's item; the tree shows or hides it accordingly.
    virtual void set_checked(const QString& name, bool checked) = 0;
    // Unchecks every item, then announces it.
    virtual void uncheck_all() = 0;
};

}  // namespace korvex::host
