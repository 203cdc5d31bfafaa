#include "korvex/app/catalog/missing_data_object.h"

#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

MissingDataObject::MissingDataObject(ObjectRecord record, QString reason)
    : record_(std::move(record)), reason_(std::move(reason)) {}

QVariantMap MissingDataObject::prop() const {
    return {{"type", record_.type}, {"file", record_.source}, {"missing", reason_}};
}

void MissingDataObject::make_visuals_in_volume(const QString& /*parent*/) {
    throw utils::ValueError(
        utils::format("{} is missing: {}", record_.name, reason_).toStdString());
}

void MissingDataObject::make_image_3d(const QString& /*section_type*/, const QString& /*parent*/) {
    throw utils::ValueError(
        utils::format("{} is missing: {}", record_.name, reason_).toStdString());
}

}  // namespace korvex::app
