#include "korvex/widgets/appearance_panel/appearance_panel.h"

#include "korvex/host/appearance_owner.h"
#include "korvex/host/data_object.h"
#include "korvex/host/data_registry.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/property_table/property_table.h"

namespace korvex::widgets {

AppearancePanel::AppearancePanel(QWidget* parent) : QWidget(parent) {
    if (!parent) return;
    owner_ = dynamic_cast<host::AppearanceOwner*>(parent);
    if (!owner_) throw utils::LookupError("the page's owner names no data tree and object");
    const host::DataRegistry* tree = owner_->data_tree();
    if (!tree) throw utils::LookupError("the page's owner has no data tree");
    const QString name = owner_->objname();
    const auto objects = tree->object_data();
    const auto found = objects.find(name);
    if (found == objects.end()) {
        throw utils::LookupError(
            utils::format("no data object named \"{}\" in the data tree", name).toStdString());
    }
    dob_ = found->second;
}

std::optional<QString> AppearancePanel::NAME() const { return std::nullopt; }

std::optional<QString> AppearancePanel::ICON() const { return std::nullopt; }

host::AppearanceOwner* AppearancePanel::owner() const { return owner_; }

host::DataObject* AppearancePanel::dob() const { return dob_; }

void AppearancePanel::initialize() {
    setup_page();
    load_style();
}

void AppearancePanel::setup_page() {
    throw utils::NotImplementedError("the appearance page does not make its widgets (setup_page)");
}

void AppearancePanel::load_style() {
    throw utils::NotImplementedError("the appearance page does not load its style (load_style)");
}

std::optional<QString> AppearancePanel::get_name() const { return NAME(); }

std::optional<QString> AppearancePanel::get_icon() const { return ICON(); }

void AppearancePanel::refresh_prop_table() {
    if (!prop_table) throw utils::AttributeError("the appearance page has no property table");
    if (!dob_) throw utils::AttributeError("the appearance page has no data object");
    property_table::refresh(prop_table, dob_->prop());
}

}  // namespace korvex::widgets
