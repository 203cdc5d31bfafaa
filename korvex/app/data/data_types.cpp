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

QVariantMap ask_header_bytes(const QString& path) {
    const auto bytes = SegyOpenDialog::ask(path, QApplication::activeWindow());
    if (!bytes) throw utils::ValueError(_("%1: opening cancelled").arg(path).toStdString());
    return SeismicVolume::header_settings(*bytes);
}

QVariantMap usual_header_bytes(const QString&) {
    return SeismicVolume::header_settings(seismic::SegyHeaderBytes());
}

}  // namespace

std::vector<DataObjectFactory::DataType> data_types(bool interactive) {
    return {
        {SeismicVolume::TYPE,
         _("SEG-Y volumes"),
         {"sgy", "segy"},
         [](const QString& path, const QVariantMap& settings) -> std::unique_ptr<host::DataObject> {
             return SeismicVolume::load(path, settings);
         },
         interactive ? &ask_header_bytes : &usual_header_bytes},
        {PointSet::TYPE,
         _("Point sets"),
         {"csv", "txt", "xyz", "pts", "dat"},
         [](const QString& path, const QVariantMap& settings) -> std::unique_ptr<host::DataObject> {
             return PointSet::load(path, settings);
         }},
    };
}

}  // namespace korvex::app::data
