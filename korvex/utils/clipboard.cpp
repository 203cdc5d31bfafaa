#include "korvex/utils/clipboard.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::utils {

void copy_to_clipboard(const QString& path) {
    const QImage image(path);
    if (image.isNull()) {
        throw ValueError(format("{} is not a readable picture", path).toStdString());
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setUrls({QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())});
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace korvex::utils
