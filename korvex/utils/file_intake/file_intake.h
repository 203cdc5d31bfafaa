#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "korvex/utils/file_intake/file_intake_export.h"

class QThread;

namespace korvex::host {
class DataObject;
}

namespace korvex::utils {

// Where the application takes the user's choice of input files and folders.
// Its tasks: (1) take user input, file names and the like, from a dialog or a script;
// (2) route load jobs to several threads; (3) load data from a file and create a korvex
// data object; (4) hand the data object to the data tree, which adds it to the
// application. Only (1) is done here: three modal dialogs starting in workdir().
class KORVEX_FILE_INTAKE_EXPORT FileIntake final : public QWidget {
    Q_OBJECT

public:
    explicit FileIntake(QWidget* parent = nullptr);

    // The owner given at construction (the main window), kept for the loading code.
    QWidget* main() const;
    // Worker threads of load jobs; none yet.
    const QList<QThread*>& workerThreads() const;

    // The directory every dialog starts in.
    QString workdir() const;
    // Without an argument, the process's current directory at the moment of the call;
    // otherwise the given path unchanged, whether or not it exists.
    void set_work_dir(const std::optional<QString>& workdir = std::nullopt);

    // Select file dialog. Returns the file name, empty when cancelled. `flt` is a Qt
    // name filter ("Images (*.png *.jpg)"); empty shows all files.
    QString select_file(const QString& flt = QString());
    // Select files dialog. Returns the file names, none when cancelled.
    QStringList select_files(const QString& flt = QString());
    // Select folder dialog. Returns the folder name, empty when cancelled.
    QString select_folder();

    // Loading data objects from the chosen files; not there yet (NotImplementedError).
    [[noreturn]] void todo();

signals:
    void sigDataObjectLoaded(korvex::host::DataObject* object);

private:
    QWidget* main_;
    QList<QThread*> workerThreads_;
    QString workdir_;
};

}  // namespace korvex::utils
