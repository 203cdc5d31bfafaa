#include "korvex/app/appearance_dialog.h"

#include <QTableWidget>
#include <QVBoxLayout>

#include "korvex/app/data_object_factory.h"
#include "korvex/app/data_tree.h"
#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/host/persistent_object.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/appearance_panel/appearance_panel.h"
#include "korvex/widgets/property_table/property_table.h"

namespace korvex::app {

using config::_;

namespace {

DataObjectFactory::PageMaker page_maker(const host::DataObject& dob) {
    const auto* persistent = dynamic_cast<const host::PersistentObject*>(&dob);
    return persistent ? data_object_factory().page_maker(persistent->type_name())
                      : DataObjectFactory::PageMaker();
}

}  // namespace

AppearanceDialog::AppearanceDialog(DataTree* tree, const QString& objname, QWidget* parent)
    : QDialog(parent), tree_(tree), objname_(objname) {
    const auto objects = tree->object_data();
    const auto found = objects.find(objname);
    if (found == objects.end()) {
        throw utils::LookupError(utils::format("No data object named {}", objname).toStdString());
    }
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    if (const DataObjectFactory::PageMaker make_page = page_maker(*found->second)) {
        widgets::AppearancePanel* page = make_page(this);
        page->initialize();
        setWindowTitle(page->get_name().value_or(_("Appearance")) + " - " + objname);
        layout->addWidget(page);
    } else {
        QTableWidget* table = widgets::property_table::create(this);
        widgets::property_table::refresh(table, found->second->prop());
        setWindowTitle(_("Properties - %1").arg(objname));
        layout->addWidget(table);
    }
    resize(420, 480);
}

host::DataTree* AppearanceDialog::data_tree() const { return tree_; }

}  // namespace korvex::app
