#pragma once

// Writes an image as a 4-channel 8-bit PNG, replacing the file atomically: on any
// failure the old file (if any) is untouched and std::runtime_error says why, e.g.
// "cannot write '/no/such/dir/a.png': No such file or directory".
//   write_png(path, canvas.render());

#include <QImage>
#include <QString>

#include "korvex/scene/scene_export.h"

namespace korvex::scene {

KORVEX_SCENE_EXPORT void write_png(const QString& path, const QImage& image);

}  // namespace korvex::scene
