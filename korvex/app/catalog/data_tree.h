#pragma once

#include <QTreeWidget>
#include <map>

#include "korvex/app/app_export.h"
#include "korvex/host/data_registry.h"

class QMenu;

namespace korvex::app {

class DataModel;
class DisplayRouter;

// The view of the data model: one checkable item per loaded object, in the model's
// order; a volume's item has the children "iline", "xline" and "depth". The items follow
// the model's signals. Checking and unchecking show and hide through the router in the
// active viewer, and every check mark is read back from that viewer's display state
// whenever the router announces a change, so a refused or failed agent leaves the item
// as the viewer really is. An object's own tick shows and hides it together with its
// sections; a section's tick, that section.
class KORVEX_APP_EXPORT DataTree final : public QTreeWidget, public host::DataRegistry {
    Q_OBJECT

public:
    DataTree(DataModel& model, DisplayRouter& router, QWidget* parent = nullptr);
    ~DataTree() override;

    std::map<QString, host::DataObject*> object_data() const override;
    std::map<QString, host::DataItem> object_items() const override;
    // Selects the object's item and scrolls it into view.
    void setCurrentItem(const host::DataItem& item) override;
    bool is_checked(const QString& name) const override;
    void set_checked(const QString& name, bool checked) override;
    // Takes everything out of the active viewer through its agents, unchecks every
    // item, then emits sig_unchecked_all.
    void uncheck_all() override;

    bool is_section_checked(const QString& name, const QString& section) const;
    void set_section_checked(const QString& name, const QString& section, bool checked);

    // The objects the tree shows, and owner of them.
    DataModel& model() const { return model_; }
    // The viewers the check marks are about.
    DisplayRouter& router() const { return router_; }

    // The row of a loaded object, nullptr for any other name.
    QTreeWidgetItem* tree_item(const QString& name) const;

    // The menu the user gets on `item` (nullptr: on the empty area); the caller owns it.
    QMenu* create_context_menu(QTreeWidgetItem* item);

signals:
    void sig_unchecked_all();
    // The user asked for the appearance page of an object.
    void sig_appearance_requested(const QString& name);
    // The user asked for an arbitrary line through points of a point set.
    void sig_line_requested(const QString& point_set);

private:
    void add_item(host::DataObject& dob);
    // The section items' texts, which the object may have learnt better since.
    void relabel(const QString& name);
    void on_item_changed(QTreeWidgetItem* item);
    // Sets the check marks of an object's item and its section items from the active viewer.
    void sync_object(const QString& name);
    void sync_all();
    QTreeWidgetItem* section_item(const QString& name, const QString& section) const;

    DataModel& model_;
    DisplayRouter& router_;
};

}  // namespace korvex::app
