#include "korvex/widgets/menu_toggle/menu_toggle.h"

#include <QComboBox>
#include <QMenuBar>

#include "korvex/config/base.h"
#include "korvex/host/main_holder.h"
#include "korvex/host/plugin_registry.h"
#include "korvex/host/window_host.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/menu_toggle/menu_bar_action.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"
#include "korvex/widgets/menu_toggle/plugout_menu_bar.h"

namespace korvex::widgets {

using config::_;

MenuToggle::MenuToggle(QWidget* parent) : QToolBar(parent) {
    if (parent) {
        owner_ = dynamic_cast<host::MainHolder*>(parent);
        if (!owner_)
            throw utils::AttributeError("the switcher's owner does not reach a main window");
    }
    setObjectName("menu_toggle");
    setWindowTitle(_("Modes"));

    auto* plugout = new PlugoutMenuBar(this);
    plugout->hide();  // shown only once it is in the toolbar
    plugin_modes_.insert_or_assign(PLUGOUT_MODE, plugout);

    cb_mode_ = new QComboBox(this);
    cb_mode_->addItem(PLUGOUT_MODE);
    connect(cb_mode_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int i) {
        utils::call_guarded(_("Changing the mode"), [&] { mode_changed(i); });
    });
    addWidget(cb_mode_);

    if (owner_) add_plugin_modes();

    cb_mode_->setCurrentIndex(0);
    show_menu_bar(plugin_modes_.at(PLUGOUT_MODE));
}

MenuToggle::~MenuToggle() {
    // Hands the bar shown now back to its owner before Qt would delete it with us.
    removeAction(currentAction_);
}

host::MainHolder* MenuToggle::owner() const { return owner_; }

host::WindowHost* MenuToggle::main() const {
    if (!owner_) throw utils::AttributeError("the switcher has no owner");
    host::WindowHost* window = owner_->main();
    if (!window) throw utils::AttributeError("the switcher's owner has no main window");
    return window;
}

host::DataRegistry* MenuToggle::treebase() const {
    host::DataRegistry* tree = main()->treebase();
    if (!tree) throw utils::AttributeError("the main window has no data tree (treebase)");
    return tree;
}

const utils::OrderedMap<QString, QMenuBar*>& MenuToggle::plugin_modes() const {
    return plugin_modes_;
}

QComboBox* MenuToggle::cb_mode() const { return cb_mode_; }

QMenuBar* MenuToggle::currentMenuBar() const { return currentMenuBar_; }

QAction* MenuToggle::currentAction() const { return currentAction_; }

void MenuToggle::mode_changed(int /*i*/) {
    removeAction(currentAction_);
    show_menu_bar(plugin_modes_.at(cb_mode_->currentText()));
}

void MenuToggle::add_plugin_modes() {
    host::PluginRegistry* manager = main()->plugins_manager();
    if (!manager) throw utils::AttributeError("the main window has no plug-in manager");
    for (const host::PluginRecord& record : manager->getPluginsOfCategory(PLUGIN_CATEGORY))
        add_plugin_mode(record);
}

void MenuToggle::add_plugin_mode(const host::PluginRecord& record) {
    auto* bar = qobject_cast<PluginMenuBar*>(record.plugin_object);
    if (!bar) throw utils::AttributeError("its object is not a plug-in menu bar");
    const QString name = bar->NAME();
    bar->set_treebase(this);
    bar->setup();
    // Listed only once set up, so a plug-in that fails leaves no mode behind.
    cb_mode_->addItem(name);
    plugin_modes_.insert_or_assign(name, bar);
}

void MenuToggle::show_menu_bar(QMenuBar* bar) {
    currentMenuBar_ = bar;
    QAction*& action = bar_actions_[bar];
    if (!action) action = new MenuBarAction(bar, this);
    addAction(action);
    currentAction_ = action;
    currentAction_->setVisible(true);
}

}  // namespace korvex::widgets
