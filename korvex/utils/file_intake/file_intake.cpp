#include "korvex/utils/file_intake/file_intake.h"

#include <QDir>
#include <QFileDialog>
#include <iostream>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::utils {

using config::_;

namespace {

// Quoted and comma-separated, so a path with spaces or commas reads unambiguously.
std::string quoted_list(const QStringList& paths) {
    QStringList quoted;
    for (const QString& path : paths) quoted << '"' + path + '"';
    return ('[' + quoted.join(", ") + ']').toStdString();
}

}  // namespace

FileIntake::FileIntake(QWidget* parent) : QWidget(parent), main_(parent) { set_work_dir(); }

QWidget* FileIntake::main() const { return main_; }

const QList<QThread*>& FileIntake::workerThreads() const { return workerThreads_; }

QString FileIntake::workdir() const { return workdir_; }

void FileIntake::set_work_dir(const std::optional<QString>& workdir) {
    workdir_ = workdir.value_or(QDir::currentPath());
}

QString FileIntake::select_file(const QString& flt) {
    const QString file = QFileDialog::getOpenFileName(this, _("Open files"), workdir_, flt);
    std::cout << "Selected file: " << file.toStdString() << std::endl;
    return file;
}

QStringList FileIntake::select_files(const QString& flt) {
    const QStringList files = QFileDialog::getOpenFileNames(this, _("Open files"), workdir_, flt);
    std::cout << "Selected files: " << quoted_list(files) << std::endl;
    return files;
}

QString FileIntake::select_folder() {
    const QString folder = QFileDialog::getExistingDirectory(this, _("Select directory"), workdir_,
                                                             QFileDialog::ShowDirsOnly);
    std::cout << "Selected folder: " << folder.toStdString() << std::endl;
    return folder;
}

void FileIntake::todo() {
    throw NotImplementedError("loading data objects from files is not implemented yet");
}

}  // namespace korvex::utils
