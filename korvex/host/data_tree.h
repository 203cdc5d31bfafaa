#pragma once

#include <QString>
#include <map>

class QTreeWidgetItem;

namespace korvex::host {

class DataObject;

// The tree of loaded data objects. The concrete tree also emits sig_unchecked_all()
// after unchecking every item; the host connects it to the viewers.
class DataTree {
public:
    virtual ~DataTree();

    // name -> data object
    virtual std::map<QString, DataObject*> object_data() const = 0;
    // name -> the object's tree item
    virtual std::map<QString, QTreeWidgetItem*> object_items() const = 0;
    virtual void setCurrentItem(QTreeWidgetItem* item) = 0;

    // Whether the object's item is checked (shown in the active viewer).
    virtual bool is_checked(const QString& name) const = 0;
    // Checks or unchecks the object's item; the tree shows or hides it accordingly.
    virtual void set_checked(const QString& name, bool checked) = 0;
    // Unchecks every item, then announces it.
    virtual void uncheck_all() = 0;
};

}  // namespace korvex::host
