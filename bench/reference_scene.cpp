#include "bench/reference_scene.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace korvex::bench {

std::map<std::string, double> reference_scene_figures() {
    QProcess script;
    // Debian's interpreter: VisPy and PyQt5 come from its packages, not from a user's Python.
    script.start("/usr/bin/python3", {QStringLiteral(KORVEX_BENCH_DIR "/reference_scene.py")});
    if (!script.waitForFinished(5 * 60 * 1000) || script.exitCode() != 0) {
        throw std::runtime_error("the reference scene did not run: " +
                                 script.readAllStandardError().toStdString());
    }
    std::map<std::string, double> figures;
    for (const QString& line : QString::fromUtf8(script.readAllStandardOutput()).split('\n')) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.size() == 3 && words[0] == "reference") {
            figures[words[1].toStdString()] = words[2].toDouble();
        }
    }
    if (figures.empty()) throw std::runtime_error("the reference scene printed no figures");
    return figures;
}

}  // namespace korvex::bench
