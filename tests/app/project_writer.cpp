// Saves a large project to one file, for the tests of interrupted saves, which kill it
// in the middle of a save.
//
//   project_writer PATH OBJECTS LABEL          saves over and over until killed
//   project_writer PATH OBJECTS LABEL once     says "saving" on standard output as it
//                                              starts one save; exits 1 with the reason
//                                              on standard error when the save fails
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "korvex/app/project_database.h"
#include "korvex/app/project_error.h"
#include "tests/app/large_project.h"

using korvex::app::ProjectDatabase;
using korvex::app::ProjectError;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return 2;
    const auto snapshot = korvex::testing::large_project(args[3], args[2].toInt());
    const ProjectDatabase database(args[1]);
    if (args.size() < 5) {
        for (;;) database.save(snapshot);
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
