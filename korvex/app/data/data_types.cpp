#include "korvex/app/data/data_types.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/segy_open_dialog.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/volume_settings.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;

namespace {

[[noreturn]] void cancelled(const QString& path) {
    throw DataObjectFactory::Cancelled(_("%1: opening cancelled").arg(path).toStdString());
}

QVariantMap ask_header_bytes(const QString& path) {
    const auto bytes = SegyOpenDialog::ask(path, QApplication::activeWindow());
    if (!bytes) cancelled(path);
    return SeismicVolume::header_settings(*bytes);
}

// Files rarely keep their map coordinates elsewhere than at the CDP's bytes: say so when
// they do.
void tell_coordinates(const SeismicVolume& volume) {
    const seismic::CoordinateBytes& used = volume.file().coordinate_bytes();
    if (used == seismic::CoordinateBytes()) return;
    utils::logger().info(utils::format(
        "{}: the CDP coordinates are the same for every trace; map coordinates from {}",
        volume.name(), used.describe()));
}

// Padding traces are left off the grid: say how many, so that none goes missing unseen.
void tell_unnumbered(const SeismicVolume& volume) {
    const auto& file = volume.file();
    if (file.unnumbered_traces() == 0) return;
    utils::logger().info(utils::format(
        "{}: {} traces without line numbers (zero at bytes {} and {}) left off the grid",
        volume.name(), file.unnumbered_traces(), file.header_bytes().iline,
        file.header_bytes().xline));
}

// The columns a point file holds, asked only when its values leave it open.
PointSet::Columns ask_columns(const QString& path, const PointTable& table,
                              const std::vector<LoadedSurvey>& surveys) {
    if (const auto guess = PointSet::guess_columns(table, surveys)) return *guess;
    QMessageBox box(QMessageBox::Question, _("Point file columns"),
                    _("Do the X and Y columns of %1 hold map coordinates or inline and "
                      "crossline numbers?")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::Cancel, QApplication::activeWindow());
    QPushButton* map = box.addButton(_("Map X/Y"), QMessageBox::AcceptRole);
    QPushButton* lines = box.addButton(_("Inline/crossline"), QMessageBox::AcceptRole);
    box.setDefaultButton(map);
    box.exec();
    if (box.clickedButton() != map && box.clickedButton() != lines) cancelled(path);
    return box.clickedButton() == map ? PointSet::Columns::map : PointSet::Columns::lines;
}

// The survey inline/crossline points belong to, asked when there is a choice: several
// surveys open, or the only one not holding them. The one holding them comes first.
QString ask_survey(const QString& path, const PointTable& table,
                   const std::vector<LoadedSurvey>& surveys) {
    const QStringList holding = PointSet::surveys_holding(table, PointSet::Columns::lines, surveys);
    if (surveys.size() == 1 && holding.size() == 1) return holding.front();
    QStringList names;
    for (const LoadedSurvey& survey : surveys) names << survey.name;
    const int current = holding.isEmpty() ? 0 : names.indexOf(holding.front());
    bool chosen = false;
    const QString name =
        QInputDialog::getItem(QApplication::activeWindow(), _("Survey of the points"),
                              _("The inline and crossline numbers of %1 belong to the survey:")
                                  .arg(QFileInfo(path).fileName()),
                              names, current, false, &chosen);
    if (!chosen) cancelled(path);
    return name;
}

// The system map points are given in, asked when the project has one to move them into;
// empty when they are in the project's.
QString ask_crs(const QString& path, const seismic::CoordinateSystem& project) {
    bool chosen = false;
    const QString crs = QInputDialog::getText(
        QApplication::activeWindow(), _("Coordinate reference system of the points"),
        _("The map X/Y of %1 are in the coordinate reference system (an EPSG code or WKT; the "
          "project's is %2, %3):")
            .arg(QFileInfo(path).fileName(), project.definition(), project.name()),
        QLineEdit::Normal, project.definition(), &chosen);
    if (!chosen) cancelled(path);
    return crs.trimmed() == project.definition() ? QString() : crs.trimmed();
}

QVariantMap ask_point_settings(const QString& path, const OpenSurveys* surveys) {
    const auto open = surveys ? surveys->surveys() : std::vector<LoadedSurvey>{};
    const PointTable table = PointTable::read(path, PointTable::sniff_delimiter(path));
    const auto columns = ask_columns(path, table, open);
    QVariantMap settings{{QStringLiteral("columns"), PointSet::columns_key(columns)}};
    if (columns == PointSet::Columns::lines && !open.empty())
        settings.insert(QStringLiteral("survey"), ask_survey(path, table, open));
    const auto project = surveys ? surveys->crs() : std::nullopt;
    if (columns == PointSet::Columns::map && project)
        if (const QString crs = ask_crs(path, *project); !crs.isEmpty())
            settings.insert(QStringLiteral("crs"), crs);
    return settings;
}

}  // namespace

std::vector<DataObjectFactory::DataType> data_types(QMainWindow* progress_host,
                                                    OpenSurveys* surveys, CacheStore* caches) {
    const QPointer<OpenSurveys> open(surveys);
    const QPointer<CacheStore> store(caches);
    return {
        {SeismicVolume::TYPE,
         _("SEG-Y volumes"),
         {"sgy", "segy"},
         nullptr,
         &ask_header_bytes,
         [](const QString&) { return bytes_found_on_opening(); },
         [progress_host = QPointer<QMainWindow>(progress_host), open, store](
             const QString& path, const QVariantMap& settings, QObject* context,
             DataObjectFactory::Done done) {
             SeismicVolume::load_async(
                 path, settings, context,
                 [progress_host, open, store, done = std::move(done)](
                     std::unique_ptr<SeismicVolume> volume, const QString& error) {
                     if (volume) {
                         volume->set_progress_host(progress_host);
                         volume->set_cache_store(store);
                         volume->set_open_surveys(open);
                         tell_coordinates(*volume);
                         tell_unnumbered(*volume);
                     }
                     done(std::move(volume), error);
                 });
         }},
        {PointSet::TYPE,
         _("Point sets"),
         {"csv", "txt", "xyz", "pts", "dat"},
         [open](const QString& path, const QVariantMap& settings)
             -> std::unique_ptr<host::DataObject> { return PointSet::load(path, settings, open); },
         [open](const QString& path) { return ask_point_settings(path, open); },
         [open](const QString& path) { return PointSet::guessed_settings(path, open); }},
    };
}

}  // namespace korvex::app::data
