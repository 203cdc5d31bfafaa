#include "plugins/data_mode/data_mode_menu_bar.h"

#include <QAction>
#include <QMenu>

#include "korvex/config/base.h"
#include "korvex/host/data_registry.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::plugins {

using config::_;

QString DataModeMenuBar::NAME() const { return QStringLiteral("Data Mode"); }

void DataModeMenuBar::setup() {
    objects_menu_ = addMenu(_("Objects"));
    select_menu_ = addMenu(_("Select"));
    connect(objects_menu_, &QMenu::aboutToShow, this, [this] {
        utils::call_guarded(_("Listing the data objects"), [this] { fill_objects_menu(); });
    });
    connect(select_menu_, &QMenu::aboutToShow, this, [this] {
        utils::call_guarded(_("Listing the data objects"), [this] { fill_select_menu(); });
    });
}

void DataModeMenuBar::fill_objects_menu() {
    objects_menu_->clear();
    if (!note_if_empty(objects_menu_)) {
        for (const auto& [name, object] : treebase()->object_data()) {
            QAction* action = utils::create_action(objects_menu_, name, [this, name = name] {
                treebase()->set_checked(name, !treebase()->is_checked(name));
            });
            action->setCheckable(true);
            action->setChecked(treebase()->is_checked(name));
            objects_menu_->addAction(action);
        }
    }
    objects_menu_->addSeparator();
    utils::add_actions(objects_menu_,
                       {utils::create_action(objects_menu_, _("Show all"), [this] { show_all(); }),
                        utils::create_action(objects_menu_, _("Hide all"),
                                             [this] { treebase()->uncheck_all(); })});
}

void DataModeMenuBar::fill_select_menu() {
    select_menu_->clear();
    if (note_if_empty(select_menu_)) return;
    for (const auto& [name, object] : treebase()->object_data()) {
        select_menu_->addAction(
            utils::create_action(select_menu_, name, [this, name = name] { select(name); }));
    }
}

bool DataModeMenuBar::note_if_empty(QMenu* menu) const {
    if (!treebase()->object_data().empty()) return false;
    menu->addAction(_("No data loaded"))->setEnabled(false);
    return true;
}

void DataModeMenuBar::select(const QString& name) {
    // Looked up on the click, not when the menu opened: the object may be gone by now.
    const auto items = treebase()->object_items();
    const auto found = items.find(name);
    if (found == items.end()) {
        throw utils::LookupError(utils::format("no data object named \"{}\"", name).toStdString());
    }
    treebase()->setCurrentItem(found->second);
}

void DataModeMenuBar::show_all() {
    for (const auto& [name, object] : treebase()->object_data()) {
        if (!treebase()->is_checked(name)) treebase()->set_checked(name, true);
    }
}

}  // namespace korvex::plugins
