#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <vector>

namespace korvex::bench {

// Writes a 10 x 12 x 20 volume, small enough that a picture of it costs only the start-up,
// into `folder`; returns its path.
QString write_tiny_volume(const QString& folder);

// `korvex FILE --export PNG` launched as a user would, with the user's cache folder (section
// caches, the OpenGL driver's shader cache) in a scratch folder. Launched through GNU time
// (/usr/bin/time), which tells the process's maximum resident size.
class KorvexRun {
public:
    // What one run took, in milliseconds from launch. `lines` are its journal lines
    // (standard error) with their time from launch, for a profile of the start-up.
    struct Times {
        double picture_written = 0;
        double exited = 0;
        // The most memory the process had resident at once, its mapped file pages included,
        // as `top` and `/usr/bin/time -v` show it.
        double max_resident_mb = 0;
        std::vector<std::pair<double, QString>> lines;
    };

    KorvexRun(const QString& program, const QString& scratch);

    // Exits the benchmark with korvex's output when the run fails.
    Times picture(const QString& file) const;
    // Where a section cache built beforehand is found, as in the user's cache folder.
    QString section_cache_folder() const;

private:
    QString program_;
    QString scratch_;
    QProcessEnvironment environment_;
};

}  // namespace korvex::bench
