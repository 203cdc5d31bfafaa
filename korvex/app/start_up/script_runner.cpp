#include "korvex/app/start_up/script_runner.h"

#include <QDir>
#include <QFileInfo>

#include "korvex/utils/logger.h"

namespace korvex::app {

using utils::format;
using utils::logger;

ScriptRunner::ScriptRunner(QObject* parent) : QObject(parent) {}

ScriptRunner::~ScriptRunner() {
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
    }
}

void ScriptRunner::run(const QString& path, const QString& work_dir) {
    const QFileInfo script(QDir(work_dir), path);
    const QString name = script.fileName();
    const QString full_path = script.absoluteFilePath();
    if (!script.isFile()) {
        logger().error(format("Script {} not found", full_path));
        emit sig_finished(path, false);
        return;
    }
    auto* process = new QProcess(this);
    process->setWorkingDirectory(work_dir);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    if (script.isExecutable()) {
        process->setProgram(full_path);
    } else {
        process->setProgram("/bin/sh");
        process->setArguments({full_path});
    }
    connect(process, &QProcess::readyReadStandardOutput, this,
            [=] { log_lines(process, QProcess::StandardOutput, name, false); });
    connect(process, &QProcess::readyReadStandardError, this,
            [=] { log_lines(process, QProcess::StandardError, name, false); });
    connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
            [=](int code, QProcess::ExitStatus status) {
                log_lines(process, QProcess::StandardOutput, name, true);
                log_lines(process, QProcess::StandardError, name, true);
                if (status == QProcess::CrashExit) {
                    logger().error(format("Script {} crashed", name));
                } else if (code != 0) {
                    logger().warning(format("Script {} finished with exit code {}", name, code));
                } else {
                    logger().info(format("Script {} finished with exit code 0", name));
                }
                end(process, path, status == QProcess::NormalExit && code == 0);
            });
    // A failure to start is the one error after which `sig_finished` never comes.
    connect(process, &QProcess::errorOccurred, this, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        logger().error(format("Script {} could not be started: {}", name, process->errorString()));
        end(process, path, false);
    });
    logger().info(format("Running script {} in {}", full_path, work_dir));
    process->start();
}

int ScriptRunner::running() const { return findChildren<QProcess*>().size(); }

void ScriptRunner::log_lines(QProcess* process, QProcess::ProcessChannel channel,
                             const QString& name, bool to_end) {
    process->setReadChannel(channel);
    auto log_one = [&](const QByteArray& bytes) {
        QString line = QString::fromLocal8Bit(bytes);
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        const QString text = format("[{}] {}", name, line);
        if (channel == QProcess::StandardError) {
            logger().warning(text);
        } else {
            logger().info(text);
        }
    };
    while (process->canReadLine()) log_one(process->readLine());
    // An unfinished last line is kept until the script ends.
    if (to_end && process->bytesAvailable() > 0) log_one(process->readAll());
}

void ScriptRunner::end(QProcess* process, const QString& path, bool ok) {
    process->setParent(nullptr);
    process->deleteLater();
    emit sig_finished(path, ok);
}

}  // namespace korvex::app
