#include "bench/korvex_run.h"

#include <segyio/segy.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <cstdlib>

#include "korvex/seismic/segy_writer.h"

namespace korvex::bench {

namespace {

// The journal's time stamp: "2026-12-09 07:51:27.046 [info] ...".
constexpr int STAMP_LENGTH = 23;

}  // namespace

QString write_tiny_volume(const QString& folder) {
    const QString path = QDir(folder).filePath("tiny.sgy");
    seismic::SegyWriter writer(path, 20, SEGY_IEEE_FLOAT_4_BYTE, 4000);
    std::vector<float> trace(20);
    for (int il = 0; il < 10; ++il) {
        for (int xl = 0; xl < 12; ++xl) {
            for (int s = 0; s < 20; ++s) trace[s] = float((il + xl + s) % 7) - 3.0f;
            writer.write_trace(1 + il, 1 + xl, trace);
        }
    }
    writer.close();
    return path;
}

KorvexRun::KorvexRun(const QString& program, const QString& scratch)
    : program_(program), scratch_(scratch), environment_(QProcessEnvironment::systemEnvironment()) {
    // A picture run builds no section cache; the OpenGL driver's shader cache is kept
    // there between runs, as on a user's machine after the first run.
    environment_.insert("XDG_CACHE_HOME", scratch);
    environment_.insert("KORVEX_LOG_FILE", "");
    QDir().mkpath(scratch);
}

KorvexRun::Times KorvexRun::picture(const QString& file) const {
    QProcess korvex;
    korvex.setProcessEnvironment(environment_);
    const QString rusage = QDir(scratch_).filePath("rusage");
    const QStringList arguments{"-f",     "%M", "-o",       rusage,
                                program_, file, "--export", QDir(scratch_).filePath("picture.png")};
    Times times;
    QElapsedTimer clock;
    const QDateTime launched = QDateTime::currentDateTime();
    clock.start();
    korvex.start("/usr/bin/time", arguments);
    QByteArray output;
    while (korvex.state() != QProcess::NotRunning) {
        korvex.waitForReadyRead(-1);
        output += korvex.readAllStandardOutput();
        if (times.picture_written == 0 && output.contains("Picture written to"))
            times.picture_written = clock.nsecsElapsed() / 1e6;
    }
    times.exited = clock.nsecsElapsed() / 1e6;
    const QByteArray journal = korvex.readAllStandardError();
    if (korvex.exitStatus() != QProcess::NormalExit || korvex.exitCode() != 0) {
        std::fprintf(stderr, "korvex failed:\n%s\n", journal.constData());
        std::exit(1);
    }
    for (const QString& line : QString::fromUtf8(journal).split('\n')) {
        const QDateTime stamp =
            QDateTime::fromString(line.left(STAMP_LENGTH), "yyyy-MM-dd HH:mm:ss.zzz");
        if (stamp.isValid())
            times.lines.emplace_back(launched.msecsTo(stamp), line.mid(STAMP_LENGTH + 1));
    }
    QFile kilobytes(rusage);
    if (kilobytes.open(QIODevice::ReadOnly))
        times.max_resident_mb = kilobytes.readAll().trimmed().toDouble() / 1024;
    return times;
}

QString KorvexRun::section_cache_folder() const {
    return QDir(scratch_).filePath("korvex/sections");
}

}  // namespace korvex::bench
