#pragma once

#include <QList>
#include <QMenuBar>
#include <QString>
#include <map>
#include <optional>

#include "korvex/widgets/menu_toggle/menu_toggle_export.h"

class QAction;
class QMenu;

namespace korvex::host {
class DataObject;
class DataRegistry;
class WindowHost;
}  // namespace korvex::host

namespace korvex::widgets {

class MenuToggle;

// The built-in menu bar of "Plugout Mode", made by the switcher for itself.
class KORVEX_MENU_TOGGLE_EXPORT PlugoutMenuBar final : public QMenuBar {
    Q_OBJECT

public:
    // `parent` must be the switcher; without one construction fails (AttributeError).
    explicit PlugoutMenuBar(MenuToggle* parent = nullptr);

    MenuToggle* owner() const;
    // The host, when the switcher has an owner; absent otherwise.
    host::WindowHost* main() const;
    host::DataRegistry* treebase() const;
    // The data tree's objects by name, read afresh; absent without a data tree.
    std::optional<std::map<QString, host::DataObject*>> database() const;

    QMenu* new_menu() const;
    QMenu* edit_menu() const;
    QAction* act_todo() const;
    QList<QAction*> new_menu_actions() const;
    QList<QAction*> edit_menu_actions() const;

    void make_actions();
    // Writes "test" to standard output.
    void test();

private:
    MenuToggle* owner_;
    host::WindowHost* main_ = nullptr;
    host::DataRegistry* treebase_ = nullptr;
    QMenu* new_menu_ = nullptr;
    QMenu* edit_menu_ = nullptr;
    QAction* act_todo_ = nullptr;
    QList<QAction*> new_menu_actions_;
    QList<QAction*> edit_menu_actions_;
};

}  // namespace korvex::widgets
