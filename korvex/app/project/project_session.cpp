#include "korvex/app/project/project_session.h"

#include <QDir>
#include <QFileInfo>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/picks/pick_list.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"
#include "korvex/app/project/session_snapshot.h"
#include "korvex/app/viewers/display_target.h"
#include "korvex/app/viewers/map_view_set.h"
#include "korvex/app/viewers/section_view_set.h"
#include "korvex/app/viewers/viewer_set.h"
#include "korvex/config/base.h"
#include "korvex/seismic/coordinate_system.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;
using utils::format;
using utils::logger;

ProjectSession::ProjectSession(DataModel& model, ViewerSet& viewers,
                               const DataObjectFactory& factory, PickList* picks, QObject* parent)
    : QObject(parent), model_(model), viewers_(viewers), factory_(factory), picks_(picks) {}

ProjectSession::~ProjectSession() = default;

QString ProjectSession::project_path() const { return database_ ? database_->path() : QString(); }

bool ProjectSession::create_new_project(const QString& path) {
    const QString target = ProjectDatabase::with_suffix(path);
    if (ProjectDatabase::is_project(target)) {
        logger().info(format("A project already exists at {}; it is opened, not replaced", target));
        return open_project(target);
    }
    return replace_with_new_project(target);
}

bool ProjectSession::replace_with_new_project(const QString& path) {
    try {
        start_new_project(ProjectDatabase::with_suffix(path));
        return true;
    } catch (const ProjectError& e) {
        report(e);
        return false;
    }
}

void ProjectSession::start_new_project(const QString& path) {
    // The file first: if it cannot be written, the session is left alone.
    ProjectDatabase(path).save({});
    apply({}, [] {});
    adopt_project(path);
    logger().info(format("Created project {}", path));
}

bool ProjectSession::open_project(const QString& path, std::function<void()> restored) {
    try {
        load_project(path, std::move(restored));
        return true;
    } catch (const ProjectError& e) {
        report(e);
        return false;
    }
}

void ProjectSession::load_project(const QString& path, std::function<void()> restored) {
    // Read whole before anything of the session is touched.
    const ProjectSnapshot snapshot = ProjectDatabase(path).load();
    apply(snapshot, [this, path, snapshot, restored] {
        for (const QString& problem : snapshot.left_out) logger().warning(problem);
        restored_completely_ &= snapshot.left_out.isEmpty();
        if (!snapshot.map_scene)
            logger().info(
                format("{} was saved before objects lay on the map: its views are reset "
                       "to View all",
                       path));
        adopt_project(path);
        logger().info(format("Opened project {}", path));
        // Told now, not after the user's work of the session has gone into it.
        const QString unwritable = database_->unwritable();
        if (!unwritable.isEmpty())
            logger().warning(format("{} cannot be saved in place: {}", path, unwritable));
        if (restored) restored();
    });
}

bool ProjectSession::save_project() {
    if (!database_) {
        logger().warning(_("There is no project file yet; use Save as"));
        return false;
    }
    return save_project_as(database_->path());
}

bool ProjectSession::save_project_as(const QString& path) {
    try {
        const ProjectSnapshot snapshot = capture();
        ProjectDatabase database(ProjectDatabase::with_suffix(path));
        database.save(snapshot);
        if (snapshot.objects.size() < model_.objects().size()) {
            logger().warning(_("Some objects cannot be stored in a project and were not saved"));
        }
        if (!database_ || database_->path() != database.path()) mark_open(database.path());
        database_ = std::make_unique<ProjectDatabase>(database);
        saved_ = snapshot;
        logger().info(format("Saved project {}", database_->path()));
        emit sig_project_saved(database_->path());
        return true;
    } catch (const ProjectError& e) {
        report(e);
        return false;
    }
}

bool ProjectSession::has_unsaved_changes() const {
    const ProjectSnapshot now = capture();
    if (!database_ && model_.objects().empty() && now.picks.empty()) return false;
    return now != saved_;
}

void ProjectSession::mark_saved() { saved_ = capture(); }

ProjectSnapshot ProjectSession::capture() const {
    ProjectSnapshot snapshot = capture_session(model_, viewers_.targets(), viewers_.active_index());
    if (picks_) snapshot.picks = picks_->pick_records();
    if (section_views_) snapshot.section_views = section_views_->section_view_records();
    if (map_views_) snapshot.map_views = map_views_->map_view_records();
    snapshot.crs = crs_;
    keep_for_missing(snapshot, opened_, model_);
    return snapshot;
}

void ProjectSession::set_crs(const QString& definition) {
    const QString crs = definition.trimmed();
    if (!crs.isEmpty()) seismic::CoordinateSystem{crs};  // throws for one PROJ does not know
    if (crs == crs_) return;
    crs_ = crs;
    emit sig_crs_changed(crs_);
}

void ProjectSession::apply(const ProjectSnapshot& snapshot, std::function<void()> then) {
    // A restore still opening its files is given up: its objects are not wanted any more.
    delete restoring_;
    // The markers leave the viewers before the viewers go.
    if (picks_) picks_->replace_picks({});
    if (section_views_) section_views_->close_section_views();
    if (map_views_) map_views_->close_map_views();
    model_.remove_all_objects();
    opened_ = snapshot;
    QStringList names;
    for (const ViewerRecord& viewer : snapshot.viewers) names << viewer.name;
    viewers_.reset_viewers(names);
    // First: point files in another system are moved into it as they load.
    restored_completely_ = utils::call_guarded(_("Restoring the coordinate reference system"),
                                               [&] { set_crs(snapshot.crs); });
    restoring_ = new QObject(this);
    restore_objects(model_, snapshot.objects, factory_, restoring_, [this, snapshot, then] {
        restoring_->deleteLater();
        restoring_ = nullptr;
        try {
            show_restored(snapshot);
            then();
        } catch (const std::exception& e) {
            // Reached from the event loop, where nothing may escape.
            logger().error(format("Restoring the project failed: {}", e.what()));
        }
    });
}

void ProjectSession::show_restored(const ProjectSnapshot& snapshot) {
    const std::vector<DisplayTarget*> open = viewers_.targets();
    for (std::size_t i = 0; i < open.size() && i < snapshot.viewers.size(); ++i) {
        restored_completely_ &= restore_viewer(model_, *open[i], snapshot.viewers[i]);
        // Its camera looked at line numbers, which are no longer where anything is drawn.
        if (!snapshot.map_scene && !snapshot.viewers[i].shown.empty()) open[i]->view_all();
    }
    if (picks_) {
        restored_completely_ &= utils::call_guarded(_("Restoring the picks"), [&] {
            picks_->replace_picks(place_on_volumes(place_picks(snapshot.picks, open), model_));
        });
    }
    if (section_views_) {
        std::vector<SectionViewRecord> shown;
        for (const SectionViewRecord& record : snapshot.section_views) {
            if (!waits_for_missing(record, model_)) {
                shown.push_back(record);
                continue;
            }
            logger().warning(
                format("The section view {} is not shown while its volume is "
                       "missing; the project keeps it",
                       record.name));
            restored_completely_ = false;
        }
        restored_completely_ &= section_views_->restore_section_views(shown, model_);
    }
    if (map_views_) restored_completely_ &= map_views_->restore_map_views(snapshot.map_views);
    viewers_.set_active_index(snapshot.active_viewer);
}

void ProjectSession::adopt_project(const QString& path) {
    mark_open(path);
    database_ = std::make_unique<ProjectDatabase>(path);
    saved_ = capture();
    emit sig_project_opened(database_->path());
}

void ProjectSession::mark_open(const QString& path) {
    open_mark_.reset();
    const QFileInfo project(path);
    open_mark_ = std::make_unique<QLockFile>(
        project.dir().filePath(QStringLiteral(".%1.lock").arg(project.fileName())));
    // A mark left by a process that has ended is taken over, however recent.
    open_mark_->setStaleLockTime(0);
    // An unwritable folder cannot be marked; its project cannot be saved over either.
    if (open_mark_->tryLock(0) || open_mark_->error() != QLockFile::LockFailedError) return;
    qint64 process = 0;
    QString host, application;
    open_mark_->getLockInfo(&process, &host, &application);
    logger().warning(
        format("{} is open in another korvex as well (process {} on {}): a save "
               "in either replaces what the other saved",
               path, process, host));
}

void ProjectSession::report(const ProjectError& error) const { logger().error(error.message()); }

}  // namespace korvex::app
