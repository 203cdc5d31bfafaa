#include "tests/support/synthetic_object.h"

#include <QFile>
#include <QTextStream>

#include "korvex/utils/errors.h"

namespace korvex::testing {

namespace {
const QString MAGIC = QStringLiteral("synthetic");
}

SyntheticObject::SyntheticObject(QString name, bool volume, QString source, QVariantMap settings)
    : settings_(std::move(settings)), name_(std::move(name)), source_(std::move(source)) {
    if (volume) {
        for (const char* section : {"iline", "xline", "depth"}) section_image3d[section];
    }
}

void SyntheticObject::write(const QString& path, const QString& name, bool volume) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw utils::ValueError(file.errorString().toStdString());
    }
    QTextStream(&file) << MAGIC << '\n' << name << '\n' << (volume ? "volume" : "points") << '\n';
}

std::unique_ptr<host::DataObject> SyntheticObject::load(const QString& path, const QVariantMap& settings) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw utils::ValueError(file.errorString().toStdString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (lines.size() < 3 || lines[0] != MAGIC) {
        throw utils::ValueError(QStringLiteral("%1 is not a synthetic object").arg(path).toStdString());
    }
    return std::make_unique<SyntheticObject>(lines[1], lines[2] == "volume", path, settings);
}

void SyntheticObject::make_visuals_in_volume(const QString& parent) {
    ++visuals_made;
    visuals_in_volume[parent] = scene::Item();
}

void SyntheticObject::make_image_3d(const QString& section_type, const QString& parent) {
    ++images_made;
    section_image3d.at(section_type)[parent] = scene::Item();
}

}  // namespace korvex::testing
