#include "korvex/app/catalog/data_model.h"

#include <algorithm>

#include "korvex/app/data/styled_object.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

using utils::format;

namespace {

utils::LookupError unknown(const QString& name) {
    return utils::LookupError(format("No data object named {}", name).toStdString());
}

}  // namespace

DataModel::DataModel(QObject* parent) : QObject(parent) {}

DataModel::~DataModel() = default;

host::DataObject* DataModel::add_object(std::unique_ptr<host::DataObject> dob) {
    if (!dob) throw utils::ValueError("No data object to add");
    if (object(dob->name())) {
        throw utils::ValueError(
            format("An object named {} is already loaded", dob->name()).toStdString());
    }
    host::DataObject* added = dob.get();
    objects_.push_back(std::move(dob));
    // A look changed from the object's page is a change like any other for the model's
    // followers. The connection ends with the object.
    if (auto* styled = dynamic_cast<data::StyledObject*>(added)) {
        connect(styled, &data::StyledObject::sig_style_changed, this,
                [this, added] { emit sig_changed(added->name()); });
    }
    emit sig_added(added);
    return added;
}

void DataModel::remove_object(const QString& name) {
    auto it = find(name);
    if (it == objects_.end()) throw unknown(name);
    emit sig_removing(it->get());
    // A follower may have changed the list meanwhile; the object is looked up again.
    it = find(name);
    if (it == objects_.end()) return;
    objects_.erase(it);
    emit sig_removed(name);
}

void DataModel::remove_all_objects() {
    while (!objects_.empty()) remove_object(objects_.front()->name());
}

void DataModel::notify_changed(const QString& name) {
    if (!object(name)) throw unknown(name);
    emit sig_changed(name);
}

host::DataObject* DataModel::object(const QString& name) const {
    for (const auto& dob : objects_) {
        if (dob->name() == name) return dob.get();
    }
    return nullptr;
}

std::vector<host::DataObject*> DataModel::objects() const {
    std::vector<host::DataObject*> result;
    for (const auto& dob : objects_) result.push_back(dob.get());
    return result;
}

std::map<QString, host::DataObject*> DataModel::object_data() const {
    std::map<QString, host::DataObject*> result;
    for (const auto& dob : objects_) result[dob->name()] = dob.get();
    return result;
}

std::vector<std::unique_ptr<host::DataObject>>::iterator DataModel::find(const QString& name) {
    return std::find_if(objects_.begin(), objects_.end(),
                        [&](const auto& dob) { return dob->name() == name; });
}

}  // namespace korvex::app
