#pragma once

#include <QString>

#include "korvex/app/app_export.h"
#include "korvex/app/project/project_snapshot.h"
#include "korvex/host/project_handle.h"

namespace korvex::app {

// A project file (.kvd): one SQLite database holding a ProjectSnapshot. It is opened
// for each load or save and closed afterwards, so nothing is held on the file in between.
//
// Saves run in one SQLite transaction: a save that is interrupted (crash, power cut,
// killed process) leaves the previous project, which SQLite brings back from its
// journal the next time the file is opened.
class KORVEX_APP_EXPORT ProjectDatabase final : public host::ProjectHandle {
public:
    // Bumped when the tables change in a way an older build would misread; files of a newer
    // version are refused. A table added later (viewer settings, picks) needs no bump: it
    // is read only where present, and an older build leaves it alone.
    static constexpr int SCHEMA_VERSION = 1;
    // Written into the SQLite header so that a project is told from any other database.
    static constexpr int APPLICATION_ID = 0x4B565844;  // "KVXD"
    static constexpr const char* SUFFIX = "kvd";

    explicit ProjectDatabase(const QString& path);

    QString path() const { return path_; }

    // Reads the whole project. Throws ProjectError when the file is missing, is not a
    // project, comes from a newer version, or is damaged; nothing is read partially.
    ProjectSnapshot load() const;

    // Replaces the file's content with `snapshot`, creating the file when needed.
    // Refuses (ProjectError) to write over a file that is not a project of this version.
    void save(const ProjectSnapshot& snapshot) const;

    // Why the file cannot be saved in place (read-only, or a folder that cannot be
    // written), or empty when it can.
    QString unwritable() const;

    // `path` with the project suffix, appended when missing.
    static QString with_suffix(const QString& path);
    // Whether `path` names a readable project of a version this build understands.
    static bool is_project(const QString& path);

private:
    enum class Target { absent, empty, project };
    // What is at path_; throws ProjectError for anything that is not ours to read or replace.
    Target inspect() const;

    QString path_;
};

}  // namespace korvex::app
