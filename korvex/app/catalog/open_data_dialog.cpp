#include "korvex/app/catalog/open_data_dialog.h"

#include <QFileInfo>
#include <QSettings>

#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/utils/file_intake/file_intake.h"

namespace korvex::app {

QStringList OpenDataDialog::choose(const QString& workdir) {
    QSettings settings;
    const QString last = settings.value(FOLDER_KEY).toString();
    intake_.set_work_dir(!last.isEmpty() && QFileInfo(last).isDir() ? last : workdir);
    const QStringList files = intake_.select_files(factory_.file_filter());
    if (!files.isEmpty()) settings.setValue(FOLDER_KEY, QFileInfo(files.front()).absolutePath());
    return files;
}

}  // namespace korvex::app
