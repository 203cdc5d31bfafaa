#pragma once

#include <QTreeWidget>
#include <map>
#include <vector>

#include "korvex/host/data_registry.h"

class QMenu;

namespace korvex::app {

class DataModel;
class DisplayTarget;

// The view of the data model: one checkable item per loaded object, in the model's
// order; a volume's item has the children "iline", "xline" and "depth". The items follow
// the model's signals, and an object the model drops is first taken out of every viewer.
// Checking and unchecking call the agents of the active viewer, and every check mark is
// then read back from that viewer's display state, so a refused or failed agent leaves
// the item as the viewer really is. An object's own tick shows and hides it together
// with its sections; a section's tick, that section.
class DataTree final : public QTreeWidget, public host::DataRegistry {
    Q_OBJECT

public:
    explicit DataTree(DataModel& model, QWidget* parent = nullptr);
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

    // The objects the tree shows; it owns them.
    DataModel& model() const { return model_; }

    // The viewers the tree knows; the active one is the one its check marks follow.
    void add_target(DisplayTarget* target);
    void remove_target(DisplayTarget* target);
    void set_active_target(DisplayTarget* target);
    DisplayTarget* active_target() const { return active_; }
    // Reads every check mark again from the active viewer, after it was changed directly.
    void sync_all();
    // Takes every object and section shown in `target` out through its agents.
    void remove_all_from(DisplayTarget& target);

    // The row of a loaded object, nullptr for any other name.
    QTreeWidgetItem* tree_item(const QString& name) const;

    // The menu the user gets on `item` (nullptr: on the empty area); the caller owns it.
    QMenu* create_context_menu(QTreeWidgetItem* item);

signals:
    void sig_unchecked_all();
    // The user asked for the appearance page of an object.
    void sig_appearance_requested(const QString& name);

private:
    void add_item(host::DataObject& dob);
    void take_out_everywhere(host::DataObject& dob);
    // The section items' texts, which the object may have learnt better since.
    void relabel(const QString& name);
    void on_item_changed(QTreeWidgetItem* item);
    // Shows the object and every section of it in one viewer.
    void show_in(DisplayTarget& target, host::DataObject& dob);
    // Takes the object and its sections out of one viewer.
    void take_out(DisplayTarget& target, host::DataObject& dob);
    // Sets the check marks of an object's item and its section items from the active viewer.
    void sync_object(const QString& name);
    QTreeWidgetItem* section_item(const QString& name, const QString& section) const;

    DataModel& model_;
    std::vector<DisplayTarget*> targets_;
    DisplayTarget* active_ = nullptr;
};

}  // namespace korvex::app
