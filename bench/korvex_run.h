#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvex::bench {

// Writes a 10 x 12 x 20 volume, small enough that a picture of it costs only the start-up,
// into `folder`; returns its path.
QString write_tiny_volume(const QString& folder);

// `korvex FILE --export PNG` launched as a user would, with its section caches and
// shader caches in a scratch folder.
class KorvexRun {
public:
    // What one run took, in milliseconds from launch. `lines` are its journal lines
    // (standard error) with their time from launch, for a profile of the start-up.
    struct Times {
        double picture_written = 0;
        double exited = 0;
        std::vector<std::pair<double, QString>> lines;
    };

    KorvexRun(const QString& program, const QString& scratch);

    // Exits the benchmark with korvex's output when the run fails.
    Times picture(const QString& file) const;

private:
    QString program_;
    QString scratch_;
    QProcessEnvironment environment_;
};

}  // namespace korvex::bench
