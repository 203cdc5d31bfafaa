#include "korvex/app/project/project_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>
#include <optional>

#include "korvex/app/project/project_error.h"
#include "korvex/app/project/sqlite_connection.h"
#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

namespace {

const QByteArray SQLITE_MAGIC("SQLite format 3\0", 16);

const char* const CREATE_TABLES[] = {
    "CREATE TABLE IF NOT EXISTS objects (position INTEGER NOT NULL, type TEXT NOT NULL, "
    "name TEXT NOT NULL UNIQUE, source TEXT NOT NULL, relative_source TEXT NOT NULL, "
    "settings TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS viewers (position INTEGER NOT NULL, name TEXT NOT NULL UNIQUE, "
    "state TEXT NOT NULL, active INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS shown (viewer TEXT NOT NULL, object TEXT NOT NULL, "
    "section TEXT NOT NULL, entry TEXT NOT NULL, value INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS viewer_settings (viewer TEXT NOT NULL UNIQUE, settings TEXT NOT "
    "NULL)",
    // Map coordinates are NULL where the survey's are not known, the amplitude where the
    // file holds none for the sample.
    "CREATE TABLE IF NOT EXISTS picks (position INTEGER NOT NULL, viewer TEXT NOT NULL, "
    "volume TEXT NOT NULL, iline INTEGER NOT NULL, xline INTEGER NOT NULL, time REAL NOT NULL, "
    "map_x REAL, map_y REAL, amplitude REAL, x REAL NOT NULL, y REAL NOT NULL, "
    "z REAL NOT NULL)",
    "CREATE TABLE IF NOT EXISTS section_views (position INTEGER NOT NULL, name TEXT NOT NULL "
    "UNIQUE, state TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS map_views (position INTEGER NOT NULL, name TEXT NOT NULL "
    "UNIQUE, state TEXT NOT NULL)",
    // The project's own settings, one row each.
    "CREATE TABLE IF NOT EXISTS project (key TEXT NOT NULL UNIQUE, value TEXT NOT NULL)",
};

const QString CRS_KEY = QStringLiteral("crs");
// Present in projects whose scene is the map; older ones drew it in line numbers.
const QString SCENE_KEY = QStringLiteral("scene");
const QString MAP_SCENE = QStringLiteral("map");

QString to_json(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject from_json(const QString& text, const QString& what) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        throw ProjectError(_("the %1 is not valid JSON").arg(what));
    }
    return document.object();
}

// Where a moved project finds its data: the file next to it, at the same relative place.
QString resolve_source(const QString& source, const QString& relative, const QDir& project_dir) {
    if (QFileInfo::exists(source) || relative.isEmpty()) return source;
    const QString moved = QDir::cleanPath(project_dir.absoluteFilePath(relative));
    return QFileInfo::exists(moved) ? moved : source;
}

void read_objects(SqliteConnection& db, const QDir& project_dir, ProjectSnapshot& snapshot) {
    QSqlQuery rows = db.exec(
        "SELECT type, name, source, relative_source, settings FROM objects ORDER BY position");
    while (rows.next()) {
        const QString name = rows.value(1).toString();
        snapshot.objects.push_back(
            {rows.value(0).toString(), name,
             resolve_source(rows.value(2).toString(), rows.value(3).toString(), project_dir),
             from_json(rows.value(4).toString(), _("settings of %1").arg(name)).toVariantMap()});
    }
}

// Tables added after the first format are missing from projects written before them.
bool has_table(SqliteConnection& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                    "AND name = '%1'")
                         .arg(table))
               .toInt() > 0;
}

// A pick value that cannot be used; the pick is left out and the rest of the project opens.
struct BadPickValue {
    int column;
    QString expected;
};

const char* const PICK_COLUMNS[] = {"viewer", "volume",    "iline", "xline", "time", "map_x",
                                    "map_y",  "amplitude", "x",     "y",     "z"};

// Not finite numbers would reach the camera (View all frames infinity) and cannot be saved.
double finite_at(const QSqlQuery& row, int column) {
    const QVariant value = row.value(column);
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (value.isNull() || !ok || !std::isfinite(number)) throw BadPickValue{column, _("a number")};
    return number;
}

std::optional<double> optional_finite_at(const QSqlQuery& row, int column) {
    if (row.value(column).isNull()) return std::nullopt;
    return finite_at(row, column);
}

int line_at(const QSqlQuery& row, int column) {
    const double number = finite_at(row, column);
    if (number != std::floor(number) || number < std::numeric_limits<int>::min() ||
        number > std::numeric_limits<int>::max())
        throw BadPickValue{column, _("a line number")};
    return static_cast<int>(number);
}

QVariant optional_value(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

PickRecord read_pick(const QSqlQuery& row) {
    PickRecord record;
    record.viewer = row.value(0).toString();
    widgets::PickedSample& sample = record.sample;
    sample.volume = row.value(1).toString();
    sample.iline = line_at(row, 2);
    sample.xline = line_at(row, 3);
    sample.time = finite_at(row, 4);
    sample.map_x = optional_finite_at(row, 5);
    sample.map_y = optional_finite_at(row, 6);
    sample.amplitude = optional_finite_at(row, 7).value_or(std::nan(""));
    sample.position = {finite_at(row, 8), finite_at(row, 9), finite_at(row, 10)};
    return record;
}

void read_picks(SqliteConnection& db, ProjectSnapshot& snapshot) {
    if (!has_table(db, QStringLiteral("picks"))) return;
    QSqlQuery rows = db.exec(
        "SELECT viewer, volume, iline, xline, time, map_x, map_y, amplitude, x, y, z FROM picks "
        "ORDER BY position");
    for (int number = 1; rows.next(); ++number) {
        try {
            snapshot.picks.push_back(read_pick(rows));
        } catch (const BadPickValue& bad) {
            const QVariant value = rows.value(bad.column);
            snapshot.left_out << _("Pick %1 is left out: its %2 holds %3, not %4")
                                     .arg(number)
                                     .arg(PICK_COLUMNS[bad.column],
                                          value.isNull() ? _("nothing")
                                                         : '"' + value.toString() + '"',
                                          bad.expected);
        }
    }
}

void write_picks(SqliteConnection& db, const std::vector<PickRecord>& picks) {
    int position = 0;
    for (const PickRecord& record : picks) {
        const widgets::PickedSample& sample = record.sample;
        db.exec("INSERT INTO picks VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {position++, record.viewer, sample.volume, sample.iline, sample.xline, sample.time,
                 optional_value(sample.map_x), optional_value(sample.map_y),
                 std::isnan(sample.amplitude) ? QVariant() : QVariant(sample.amplitude),
                 sample.position[0], sample.position[1], sample.position[2]});
    }
}

void read_viewers(SqliteConnection& db, ProjectSnapshot& snapshot) {
    QSqlQuery rows = db.exec("SELECT name, state, active FROM viewers ORDER BY position");
    while (rows.next()) {
        const QString name = rows.value(0).toString();
        if (rows.value(2).toBool())
            snapshot.active_viewer = static_cast<int>(snapshot.viewers.size());
        const QString state = rows.value(1).toString();
        from_json(state, _("view state of %1").arg(name));
        snapshot.viewers.push_back({name, state.toUtf8(), {}, {}});
    }
    if (has_table(db, QStringLiteral("viewer_settings"))) {
        QSqlQuery settings = db.exec("SELECT viewer, settings FROM viewer_settings");
        while (settings.next()) {
            const QString viewer = settings.value(0).toString();
            for (ViewerRecord& record : snapshot.viewers) {
                if (record.name == viewer)
                    record.settings =
                        from_json(settings.value(1).toString(), _("settings of %1").arg(viewer))
                            .toVariantMap();
            }
        }
    }
    QSqlQuery shown = db.exec("SELECT viewer, object, section, entry, value FROM shown");
    while (shown.next()) {
        const QString viewer = shown.value(0).toString();
        for (ViewerRecord& record : snapshot.viewers) {
            if (record.name != viewer) continue;
            utils::save_display_state(record.shown, shown.value(1).toString(),
                                      shown.value(2).toString(), shown.value(3).toString(),
                                      shown.value(4).toBool());
        }
    }
}

// Section and map views alike: a name and a JSON state each, in their order.
void read_views(SqliteConnection& db, const QString& table, std::vector<SectionViewRecord>& views) {
    if (!has_table(db, table)) return;
    QSqlQuery rows =
        db.exec(QStringLiteral("SELECT name, state FROM %1 ORDER BY position").arg(table));
    while (rows.next()) {
        const QString name = rows.value(0).toString();
        const QString state = rows.value(1).toString();
        from_json(state, _("view state of %1").arg(name));
        views.push_back({name, state.toUtf8()});
    }
}

void write_views(SqliteConnection& db, const QString& table,
                 const std::vector<SectionViewRecord>& views) {
    int position = 0;
    for (const SectionViewRecord& view : views)
        db.exec(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?)").arg(table),
                {position++, view.name, QString::fromUtf8(view.state)});
}

void read_project_settings(SqliteConnection& db, ProjectSnapshot& snapshot) {
    snapshot.map_scene = false;
    if (!has_table(db, QStringLiteral("project"))) return;
    QSqlQuery rows = db.exec("SELECT key, value FROM project");
    while (rows.next()) {
        const QString key = rows.value(0).toString();
        if (key == CRS_KEY) snapshot.crs = rows.value(1).toString();
        if (key == SCENE_KEY) snapshot.map_scene = rows.value(1).toString() == MAP_SCENE;
    }
}

void write_snapshot(SqliteConnection& db, const ProjectSnapshot& snapshot,
                    const QDir& project_dir) {
    // The picks are written whole, so their table may take its newest definition (an unknown
    // amplitude) in a file an older build made.
    db.exec("DROP TABLE IF EXISTS picks");
    for (const char* statement : CREATE_TABLES) db.exec(statement);
    db.exec(QStringLiteral("PRAGMA application_id = %1").arg(ProjectDatabase::APPLICATION_ID));
    db.exec(QStringLiteral("PRAGMA user_version = %1").arg(ProjectDatabase::SCHEMA_VERSION));
    for (const char* table : {"objects", "viewers", "shown", "viewer_settings", "section_views",
                              "map_views", "picks", "project"}) {
        db.exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    int position = 0;
    for (const ObjectRecord& object : snapshot.objects) {
        db.exec("INSERT INTO objects VALUES (?, ?, ?, ?, ?, ?)",
                {position++, object.type, object.name, object.source,
                 project_dir.relativeFilePath(object.source),
                 to_json(QJsonObject::fromVariantMap(object.settings))});
    }
    position = 0;
    for (const ViewerRecord& viewer : snapshot.viewers) {
        db.exec("INSERT INTO viewers VALUES (?, ?, ?, ?)",
                {position, viewer.name, QString::fromUtf8(viewer.state),
                 position == snapshot.active_viewer});
        ++position;
        if (!viewer.settings.isEmpty()) {
            db.exec("INSERT INTO viewer_settings VALUES (?, ?)",
                    {viewer.name, to_json(QJsonObject::fromVariantMap(viewer.settings))});
        }
        for (const auto& [object, sections] : viewer.shown) {
            for (const auto& [section, entries] : sections) {
                for (const auto& [entry, value] : entries) {
                    db.exec("INSERT INTO shown VALUES (?, ?, ?, ?, ?)",
                            {viewer.name, object, section, entry, value});
                }
            }
        }
    }
    write_views(db, QStringLiteral("section_views"), snapshot.section_views);
    write_views(db, QStringLiteral("map_views"), snapshot.map_views);
    write_picks(db, snapshot.picks);
    if (!snapshot.crs.isEmpty())
        db.exec("INSERT INTO project VALUES (?, ?)", {CRS_KEY, snapshot.crs});
    db.exec("INSERT INTO project VALUES (?, ?)", {SCENE_KEY, MAP_SCENE});
}

}  // namespace

ProjectDatabase::ProjectDatabase(const QString& path) : path_(QFileInfo(path).absoluteFilePath()) {}

ProjectDatabase::Target ProjectDatabase::inspect() const {
    const QFileInfo info(path_);
    if (!info.exists()) return Target::absent;
    if (!info.isFile()) throw ProjectError(_("it is not a file"));
    if (info.size() == 0) return Target::empty;

    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) throw ProjectError(file.errorString());
    if (file.read(SQLITE_MAGIC.size()) != SQLITE_MAGIC) {
        throw ProjectError(_("it is not a korvex project"));
    }
    file.close();

    int application_id = 0;
    int version = 0;
    QString check;
    try {
        SqliteConnection db(path_);
        application_id = db.scalar("PRAGMA application_id").toInt();
        version = db.scalar("PRAGMA user_version").toInt();
        check = db.scalar("PRAGMA quick_check").toString();
    } catch (const ProjectError& e) {
        throw ProjectError(_("it is damaged (%1)").arg(e.message()));
    }
    if (application_id != APPLICATION_ID || version < 1) {
        throw ProjectError(_("it is not a korvex project"));
    }
    if (version > SCHEMA_VERSION) {
        throw ProjectError(
            _("it was written by a newer korvex (project format %1; this version reads "
              "up to format %2)")
                .arg(version)
                .arg(SCHEMA_VERSION));
    }
    if (check != QLatin1String("ok")) {
        throw ProjectError(_("it is damaged (%1)").arg(check));
    }
    return Target::project;
}

ProjectSnapshot ProjectDatabase::load() const {
    try {
        switch (inspect()) {
            case Target::absent:
                throw ProjectError(_("the file does not exist"));
            case Target::empty:
                throw ProjectError(_("the file is empty"));
            case Target::project:
                break;
        }
        ProjectSnapshot snapshot;
        try {
            SqliteConnection db(path_);
            // One read transaction: the tables are read as of one moment.
            db.exec("BEGIN");
            read_objects(db, QFileInfo(path_).absoluteDir(), snapshot);
            read_viewers(db, snapshot);
            read_views(db, QStringLiteral("section_views"), snapshot.section_views);
            read_views(db, QStringLiteral("map_views"), snapshot.map_views);
            read_picks(db, snapshot);
            read_project_settings(db, snapshot);
            db.rollback();
        } catch (const ProjectError& e) {
            throw ProjectError(_("it is damaged (%1)").arg(e.message()));
        }
        return snapshot;
    } catch (const ProjectError& e) {
        throw ProjectError(_("Cannot open %1: %2").arg(path_, e.message()));
    }
}

void ProjectDatabase::save(const ProjectSnapshot& snapshot) const {
    bool created = false;
    try {
        // SQLite calls a folder it cannot write its journal in a "readonly database" too.
        const QString refused = unwritable();
        if (!refused.isEmpty()) throw ProjectError(refused);
        created = inspect() != Target::project;
        SqliteConnection db(path_);
        db.exec("PRAGMA synchronous = FULL");
        db.begin();
        try {
            write_snapshot(db, snapshot, QFileInfo(path_).absoluteDir());
            db.commit();
        } catch (...) {
            db.rollback();
            throw;
        }
    } catch (const ProjectError& e) {
        if (created) QFile::remove(path_);
        throw ProjectError(_("Could not save %1: %2").arg(path_, e.message()));
    }
}

QString ProjectDatabase::unwritable() const {
    const QFileInfo file(path_);
    QString reason;
    if (file.exists() && !file.isWritable())
        reason = _("the file is read-only");
    else if (!QFileInfo(file.absolutePath()).isWritable())
        reason = _("its folder %1 cannot be written").arg(file.absolutePath());
    if (reason.isEmpty()) return reason;
    return _("%1; save the project elsewhere with Save as").arg(reason);
}

QString ProjectDatabase::with_suffix(const QString& path) {
    const QString suffix = QStringLiteral(".") + SUFFIX;
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

bool ProjectDatabase::is_project(const QString& path) {
    try {
        return ProjectDatabase(path).inspect() == Target::project;
    } catch (const ProjectError&) {
        return false;
    }
}

}  // namespace korvex::app
