// Saves a large project to one file over and over, until it is killed: the test of
// interrupted saves kills it in the middle of a save.
#include <QCoreApplication>
#include <QStringList>

#include "korvex/app/project_database.h"

using korvex::app::ProjectDatabase;
using korvex::app::ProjectSnapshot;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) return 2;
    // Larger than SQLite's page cache, so pages reach the file before the commit.
    ProjectSnapshot snapshot;
    for (int i = 0; i < args[2].toInt(); ++i) {
        snapshot.objects.push_back({"Synthetic", QString::number(i), "/data/x", {{"padding", QString(2000, 'x')}}});
    }
    const ProjectDatabase database(args[1]);
    for (;;) database.save(snapshot);
}
