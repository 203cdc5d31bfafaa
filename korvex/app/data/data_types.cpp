#include "korvex/app/data/data_types.h"

#include <QApplication>

#include "korvex/app/data/point_set.h"
#include "korvex/app/data/segy_open_dialog.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

using config::_;

namespace {

std::unique_ptr<host::DataObject> load_volume(const QString& path, QVariantMap settings,
                                              bool interactive) {
    if (interactive && !settings.contains(QStringLiteral("iline_byte"))) {
        const auto bytes = SegyOpenDialog::ask(path, QApplication::activeWindow());
        if (!bytes)
            throw utils::ValueError(_("%1: opening cancelled").arg(path).toStdString());
        settings.insert(SeismicVolume::header_settings(*bytes));
    }
    return SeismicVolume::load(path, settings);
}

}  // namespace

std::vector<DataObjectFactory::DataType> data_types(bool interactive) {
    return {
        {SeismicVolume::TYPE, _("SEG-Y volumes"), {"sgy", "segy"},
         [interactive](const QString& path, const QVariantMap& settings) {
             return load_volume(path, settings, interactive);
         }},
        {PointSet::TYPE, _("Point sets"), {"csv", "txt", "xyz", "pts", "dat"},
         [](const QString& path, const QVariantMap& settings) -> std::unique_ptr<host::DataObject> {
             return PointSet::load(path, settings);
         }},
    };
}

}  // namespace korvex::app::data
