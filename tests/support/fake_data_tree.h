#pragma once

#include <QTreeWidget>
#include <map>

#include "korvex/host/data_registry.h"

namespace korvex::testing {

// A data tree of checkable items, one per added data object.
class FakeDataTree final : public QTreeWidget, public host::DataRegistry {
    Q_OBJECT

public:
    explicit FakeDataTree(QWidget* parent = nullptr);

    void add_object(host::DataObject& dob);
    // Forgets the object and deletes its item.
    void remove_object(const QString& name);

    std::map<QString, host::DataObject*> object_data() const override { return objects_; }
    std::map<QString, host::DataItem> object_items() const override;
    void setCurrentItem(const host::DataItem& item) override;
    bool is_checked(const QString& name) const override;
    void set_checked(const QString& name, bool checked) override;
    void uncheck_all() override;

    // The row of an added object.
    QTreeWidgetItem* tree_item(const QString& name) const { return items_.at(name); }
    // The object whose row is selected; empty when none is.
    QString current_name() const;

signals:
    void sig_unchecked_all();

private:
    std::map<QString, host::DataObject*> objects_;
    std::map<QString, QTreeWidgetItem*> items_;
};

}  // namespace korvex::testing
