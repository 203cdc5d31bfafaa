#include "tests/support/fake_data_tree.h"

#include "korvex/host/data_object.h"

namespace korvex::testing {

FakeDataTree::FakeDataTree(QWidget* parent) : QTreeWidget(parent) { setHeaderHidden(true); }

void FakeDataTree::add_object(host::DataObject& dob) {
    auto* item = new QTreeWidgetItem(this, {dob.name()});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    objects_[dob.name()] = &dob;
    items_[dob.name()] = item;
}

void FakeDataTree::remove_object(const QString& name) {
    delete items_.at(name);
    items_.erase(name);
    objects_.erase(name);
}

void FakeDataTree::setCurrentItem(QTreeWidgetItem* item) { QTreeWidget::setCurrentItem(item); }

bool FakeDataTree::is_checked(const QString& name) const {
    return items_.at(name)->checkState(0) == Qt::Checked;
}

void FakeDataTree::set_checked(const QString& name, bool checked) {
    items_.at(name)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void FakeDataTree::uncheck_all() {
    for (auto& [name, item] : items_) item->setCheckState(0, Qt::Unchecked);
    emit sig_unchecked_all();
}

}  // namespace korvex::testing
