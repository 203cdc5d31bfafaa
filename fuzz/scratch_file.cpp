#include "fuzz/scratch_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace korvex::fuzz {

QString scratch_file(const QString& name, const QByteArray& bytes) {
    // Qt's plug-ins (the SQLite driver among them) are found through the application.
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char program[] = "korvex-fuzz";
        static char* argv[] = {program, nullptr};
        static QCoreApplication app(argc, argv);
    }
    static const QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write the scratch file %s", qPrintable(path));
    }
    return path;
}

}  // namespace korvex::fuzz
