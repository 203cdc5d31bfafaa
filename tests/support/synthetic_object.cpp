#include "tests/support/synthetic_object.h"

#include <QFile>
#include <QTextStream>

#include "korvex/scene/image_section.h"
#include "korvex/scene/line_visual.h"
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

QString SyntheticObject::write_in(const QString& folder, const QString& name, bool volume) {
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".syn");
    write(path, name, volume);
    return path;
}

std::unique_ptr<host::DataObject> SyntheticObject::load(const QString& path,
                                                        const QVariantMap& settings) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw utils::ValueError(file.errorString().toStdString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (lines.size() < 3 || lines[0] != MAGIC) {
        throw utils::ValueError(
            QStringLiteral("%1 is not a synthetic object").arg(path).toStdString());
    }
    return std::make_unique<SyntheticObject>(lines[1], lines[2] == "volume", path, settings);
}

// The outline of the unit cube, as twelve segments.
void SyntheticObject::make_visuals_in_volume(const QString& parent) {
    ++visuals_made;
    std::vector<scene::Point3> segments;
    for (int a = 0; a < 3; ++a) {
        const int b = (a + 1) % 3;
        const int c = (a + 2) % 3;
        for (int corner = 0; corner < 4; ++corner) {
            scene::Point3 from{};
            from[b] = corner & 1;
            from[c] = corner >> 1;
            scene::Point3 to = from;
            to[a] = 1.0;
            segments.push_back(from);
            segments.push_back(to);
        }
    }
    auto outline = std::make_shared<scene::LineVisual>(
        segments, scene::LineVisual::Connect::Segments, scene::Color("black"));
    outline->name = name_;
    visuals_in_volume[parent] = scene::Item(outline);
}

// A 2 x 2 checker through the middle of the cube.
void SyntheticObject::make_image_3d(const QString& section_type, const QString& parent) {
    ++images_made;
    const char axis = section_type == "iline" ? 'y' : section_type == "xline" ? 'x' : 'z';
    auto section = std::make_shared<scene::ImageSection>(
        std::vector<float>{-1.f, 1.f, 1.f, -1.f}, 2, 2, axis, 0.5, scene::PlaneExtent{0, 1, 0, 1});
    section->name = section_type;
    section->host_dob = this;
    section_image3d.at(section_type)[parent] = scene::Item(section);
}

}  // namespace korvex::testing
