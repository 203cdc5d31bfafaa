#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "korvex/app/app_export.h"
#include "korvex/app/project/project_snapshot.h"

namespace korvex::app {

class DataModel;
class DataObjectFactory;
class ProjectDatabase;
class PickList;
class ProjectError;
class SectionViewSet;
class MapViewSet;
class ViewerSet;

// The project behind a session: the data objects of the model, what the viewers show
// of them and the picks made in them, the file they are saved in, and whether they
// differ from it. It creates,
// opens and saves project files; a failure is logged with its reason and leaves the
// session and the file as they were.
class KORVEX_APP_EXPORT ProjectSession final : public QObject {
    Q_OBJECT

public:
    // Without `picks`, the session has none to save or restore.
    ProjectSession(DataModel& model, ViewerSet& viewers, const DataObjectFactory& factory,
                   PickList* picks = nullptr, QObject* parent = nullptr);
    ~ProjectSession() override;

    // The project file in use; empty before a project is created, opened or saved.
    QString project_path() const;
    // The ProjectDatabase of the project in use, nullptr before there is one.
    ProjectDatabase* database() const { return database_.get(); }

    // Creates an empty project at `path` (".kvd" is appended when missing) and makes it
    // the current one. An existing project there is opened instead, never replaced; any
    // other existing file is refused. Returns whether it worked.
    bool create_new_project(const QString& path);
    // As create_new_project, but a project already at `path` is replaced: the user has
    // been asked.
    bool replace_with_new_project(const QString& path);
    // Replaces the session with the project at `path`, its objects opened without
    // waiting; sig_project_opened tells when the last has arrived and is shown. A file that
    // is not a readable project is refused, and the session stays as it was.
    bool open_project(const QString& path, std::function<void()> restored = {});
    // Writes the session to the current project file (false when there is none).
    bool save_project();
    // Writes the session to `path`, which becomes the current project file.
    bool save_project_as(const QString& path);

    // Whether the session differs from the project file (or, with no file, holds data).
    bool has_unsaved_changes() const;
    // Takes the session as it is now as its saved state, as when the viewers have
    // reached their real size.
    void mark_saved();
    // Whether the last project opened showed everything it records in its viewers.
    bool restored_completely() const { return restored_completely_; }

    // The section views a project keeps; without them, it keeps none.
    void set_section_views(SectionViewSet* views) { section_views_ = views; }
    void set_map_views(MapViewSet* views) { map_views_ = views; }

    // The session as a project file would hold it.
    ProjectSnapshot capture() const;

    // The project's coordinate reference system (an EPSG code or WKT), empty for plain map
    // coordinates. One PROJ does not know throws utils::ValueError and changes nothing.
    QString crs() const { return crs_; }
    void set_crs(const QString& definition);

signals:
    // A project was created, or opened at `path` with every object it holds arrived.
    void sig_project_opened(const QString& path);
    // The session was saved to `path`.
    void sig_project_saved(const QString& path);
    // The coordinate reference system changed, by the user or with a project opened.
    void sig_crs_changed(const QString& definition);

private:
    // Throw ProjectError, leaving the session as it was.
    void start_new_project(const QString& path);
    void load_project(const QString& path, std::function<void()> restored);
    // Replaces the whole session (objects, viewers, what is shown, picks) with a snapshot;
    // `then` once its objects have arrived.
    void apply(const ProjectSnapshot& snapshot, std::function<void()> then);
    void show_restored(const ProjectSnapshot& snapshot);
    // Makes `path` the current project and the session as it is now its saved state.
    void adopt_project(const QString& path);
    void report(const ProjectError& error) const;
    // Marks `path` as open in this process, the project left behind as free, and warns
    // when another process has `path` open: each one's save replaces the other's.
    void mark_open(const QString& path);

    DataModel& model_;
    ViewerSet& viewers_;
    const DataObjectFactory& factory_;
    PickList* picks_;
    SectionViewSet* section_views_ = nullptr;
    MapViewSet* map_views_ = nullptr;
    std::unique_ptr<ProjectDatabase> database_;
    std::unique_ptr<QLockFile> open_mark_;
    ProjectSnapshot saved_;
    // The project as it was opened: what it shows of objects that came back missing is
    // saved again from here.
    ProjectSnapshot opened_;
    bool restored_completely_ = true;
    QString crs_;
    QObject* restoring_ = nullptr;  // the restore opening its objects, if one is
};

}  // namespace korvex::app
