#pragma once

#include <QObject>
#include <QProcess>
#include <QString>

#include "korvex/app/script_runner_export.h"

namespace korvex::app {

// Runs scripts as child processes, each in a given work directory, writing their
// standard output (info) and standard error (warning) to the application log line by
// line as it comes, then their exit status. A script that cannot start is logged; the
// application goes on. A script without execute permission is run by /bin/sh.
// Scripts still running when the runner is destroyed are killed.
class KORVEX_SCRIPT_RUNNER_EXPORT ScriptRunner final : public QObject {
    Q_OBJECT

public:
    explicit ScriptRunner(QObject* parent = nullptr);
    ~ScriptRunner() override;

    // Starts `path` (relative paths are taken from `work_dir`) and returns at once.
    void run(const QString& path, const QString& work_dir);

    // How many scripts are running now.
    int running() const;

signals:
    // A script has ended; `ok` when it started and exited normally with status 0.
    void sig_finished(const QString& path, bool ok);

private:
    void log_lines(QProcess* process, QProcess::ProcessChannel channel, const QString& name,
                   bool to_end);
    void end(QProcess* process, const QString& path, bool ok);
};

}  // namespace korvex::app
