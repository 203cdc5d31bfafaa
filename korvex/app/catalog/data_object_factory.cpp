#include "korvex/app/catalog/data_object_factory.h"

#include <QFileInfo>
#include <algorithm>

#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

using config::_;

void DataObjectFactory::register_type(DataType type) {
    auto same = [&](const DataType& known) { return known.name == type.name; };
    types_.erase(std::remove_if(types_.begin(), types_.end(), same), types_.end());
    types_.push_back(std::move(type));
}

bool DataObjectFactory::has_type(const QString& name) const {
    return std::any_of(types_.begin(), types_.end(),
                       [&](const DataType& type) { return type.name == name; });
}

std::unique_ptr<host::DataObject> DataObjectFactory::load(const QString& type,
                                                          const QString& source,
                                                          const QVariantMap& settings) const {
    for (const DataType& known : types_) {
        if (known.name != type) continue;
        if (!known.load)
            throw utils::NotImplementedError(
                utils::format("{} files open only on a worker", type).toStdString());
        return known.load(source, settings);
    }
    throw utils::LookupError(utils::format("Unknown data type {}", type).toStdString());
}

void DataObjectFactory::load_async(const QString& type, const QString& source,
                                   const QVariantMap& settings, QObject* context, Done done) const {
    for (const DataType& known : types_) {
        if (known.name != type) continue;
        if (known.load_async) return known.load_async(source, settings, context, std::move(done));
        std::unique_ptr<host::DataObject> dob;
        try {
            dob = known.load(source, settings);
        } catch (const std::exception& e) {
            return done(nullptr, QString::fromStdString(e.what()));
        }
        return done(std::move(dob), {});
    }
    done(nullptr, utils::format("Unknown data type {}", type));
}

const DataObjectFactory::DataType* DataObjectFactory::type_for_file(const QString& path) const {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const DataType& type : types_) {
        if (type.suffixes.contains(suffix)) return &type;
    }
    return nullptr;
}

QString DataObjectFactory::file_filter() const {
    QStringList filters;
    QStringList every_pattern;
    for (const DataType& type : types_) {
        QStringList patterns;
        for (const QString& suffix : type.suffixes) patterns << "*." + suffix;
        filters << QStringLiteral("%1 (%2)").arg(type.description, patterns.join(' '));
        every_pattern << patterns;
    }
    // First, so that the dialog opens listing every file korvex reads, not one kind only.
    if (types_.size() > 1) filters.prepend(_("All data files (%1)").arg(every_pattern.join(' ')));
    // The constant carries its own ";;" separator, ready to be appended.
    const QString all = utils::appconsts::FILTER_ALL_FILES;
    return filters.isEmpty() ? all.mid(2) : filters.join(QStringLiteral(";;")) + all;
}

}  // namespace korvex::app
