#pragma once

#include <QString>

#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

class QMenu;

namespace korvex::plugins {

// "Data Mode": menus over the objects of the data tree. "Objects" lists every loaded
// object with a check mark for those shown, to show or hide one, all, or none;
// "Select" picks an object's item in the tree. The lists are made afresh each time a
// menu opens, so they always match the tree.
class DataModeMenuBar final : public widgets::PluginMenuBar {
    Q_OBJECT

public:
    QString NAME() const override;
    void setup() override;

private:
    void fill_objects_menu();
    void fill_select_menu();
    // Adds the disabled "No data loaded" line when the tree is empty; true if it did.
    bool note_if_empty(QMenu* menu) const;
    void select(const QString& name);
    void show_all();

    QMenu* objects_menu_ = nullptr;
    QMenu* select_menu_ = nullptr;
};

}  // namespace korvex::plugins
