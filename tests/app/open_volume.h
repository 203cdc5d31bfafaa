#pragma once

#include <QObject>
#include <QTest>
#include <memory>
#include <optional>
#include <stdexcept>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/scene/image_section.h"

namespace korvex::testing {

// Opens a volume as the File menu does, on a worker, and waits for it by its answer;
// without settings, with the usual header bytes. Throws std::runtime_error with the reason when it
// does not open, which fails the test that did not expect it.
inline std::unique_ptr<app::data::SeismicVolume> open_volume(const QString& path,
                                                             const QVariantMap& settings = {}) {
    QObject context;
    std::optional<QString> error;
    std::unique_ptr<app::data::SeismicVolume> opened;
    app::data::SeismicVolume::load_async(
        path, settings.isEmpty() ? app::data::SeismicVolume::header_settings({}) : settings,
        &context, [&](std::unique_ptr<app::data::SeismicVolume> volume, const QString& why) {
            opened = std::move(volume);
            error = why;
        });
    if (!QTest::qWaitFor([&] { return error.has_value(); }, 60000))
        throw std::runtime_error("opening " + path.toStdString() + " did not end");
    if (!opened) throw std::runtime_error(error->toStdString());
    return opened;
}

// The section of `type` a volume draws in `viewer`.
inline std::shared_ptr<scene::ImageSection> image(const app::data::SeismicVolume& volume,
                                                  const QString& type, const QString& viewer) {
    // A time slice's item also holds the live area's outline.
    for (const auto& visual : volume.section_image3d.at(type).at(viewer).visuals())
        if (auto section = std::dynamic_pointer_cast<scene::ImageSection>(visual)) return section;
    return nullptr;
}

}  // namespace korvex::testing
