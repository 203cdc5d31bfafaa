#include "korvex/widgets/menu_toggle/plugout_menu_bar.h"

#include <QMenu>
#include <iostream>

#include "korvex/config/base.h"
#include "korvex/host/data_registry.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"

namespace korvex::widgets {

using config::_;

PlugoutMenuBar::PlugoutMenuBar(MenuToggle* parent) : QMenuBar(parent), owner_(parent) {
    if (!owner_) throw utils::AttributeError("the plugout menu bar is made by its switcher");
    if (owner_->owner()) {
        main_ = owner_->main();
        treebase_ = owner_->treebase();
    }
    new_menu_ = addMenu(_("New"));
    edit_menu_ = addMenu(_("Edit"));
    make_actions();
    new_menu_actions_ = {act_todo_};
    edit_menu_actions_ = {act_todo_};
    utils::add_actions(new_menu_, new_menu_actions_);
    utils::add_actions(edit_menu_, edit_menu_actions_);
}

MenuToggle* PlugoutMenuBar::owner() const { return owner_; }

host::WindowHost* PlugoutMenuBar::main() const { return main_; }

host::DataRegistry* PlugoutMenuBar::treebase() const { return treebase_; }

std::optional<std::map<QString, host::DataObject*>> PlugoutMenuBar::database() const {
    if (!treebase_) return std::nullopt;
    return treebase_->object_data();
}

QMenu* PlugoutMenuBar::new_menu() const { return new_menu_; }

QMenu* PlugoutMenuBar::edit_menu() const { return edit_menu_; }

QAction* PlugoutMenuBar::act_todo() const { return act_todo_; }

QList<QAction*> PlugoutMenuBar::new_menu_actions() const { return new_menu_actions_; }

QList<QAction*> PlugoutMenuBar::edit_menu_actions() const { return edit_menu_actions_; }

void PlugoutMenuBar::make_actions() {
    act_todo_ = utils::create_action(this, _("TODO"), [this] { test(); });
}

void PlugoutMenuBar::test() { std::cout << "test" << std::endl; }

}  // namespace korvex::widgets
