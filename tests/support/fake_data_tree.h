#pragma once

#include <QTreeWidget>
#include <map>

#include "korvex/host/data_tree.h"

namespace korvex::testing {

// A data tree of checkable items, one per added data object.
class FakeDataTree final : public QTreeWidget, public host::DataTree {
    Q_OBJECT

public:
    explicit FakeDataTree(QWidget* parent = nullptr);

    void add_object(host::DataObject& dob);
    // Forgets the object and deletes its item.
    void remove_object(const QString& name);

    std::map<QString, host::DataObject*> object_data() const override { return objects_; }
    std::map<QString, QTreeWidgetItem*> object_items() const override { return items_; }
    void setCurrentItem(QTreeWidgetItem* item) override;
    bool is_checked(const QString& name) const override;
    void set_checked(const QString& name, bool checked) override;
    void uncheck_all() override;

signals:
    void sig_unchecked_all();

private:
    std::map<QString, host::DataObject*> objects_;
    std::map<QString, QTreeWidgetItem*> items_;
};

}  // namespace korvex::testing
