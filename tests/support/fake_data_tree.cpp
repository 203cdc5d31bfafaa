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

std::map<QString, host::DataItem> FakeDataTree::object_items() const {
    std::map<QString, host::DataItem> result;
    for (const auto& entry : items_) result[entry.first] = host::DataItem{entry.first};
    return result;
}

void FakeDataTree::setCurrentItem(const host::DataItem& item) {
    QTreeWidget::setCurrentItem(items_.at(item.object_name));
}

QString FakeDataTree::current_name() const {
    for (const auto& [name, item] : items_) {
        if (item == currentItem()) return name;
    }
    return QString();
}

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
