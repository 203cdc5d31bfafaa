// Saves a large project to one file, for the tests of interrupted saves.
//
//   project_writer PATH OBJECTS LABEL once       says "saving" on standard output as it
//                                                starts one save; exits 1 with the reason
//                                                on standard error when the save fails
//   project_writer PATH OBJECTS LABEL die-at N   kills itself at its Nth write into the
//                                                project file, midway through the save
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"
#include "tests/app/dying_vfs.h"
#include "tests/app/large_project.h"

using korvex::app::ProjectDatabase;
using korvex::app::ProjectError;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) return 2;
    const auto snapshot = korvex::testing::large_project(args[3], args[2].toInt());
    const ProjectDatabase database(args[1]);
    if (args[4] == QLatin1String("die-at")) {
        if (args.size() < 6) return 2;
        korvex::testing::die_at_database_write(args[5].toInt());
    }
    std::puts("saving");
    std::fflush(stdout);
    try {
        database.save(snapshot);
    } catch (const ProjectError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
