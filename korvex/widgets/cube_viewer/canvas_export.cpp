#include "korvex/widgets/cube_viewer/canvas_export.h"

#include <QImage>
#include <stdexcept>

#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/write_png.h"
#include "korvex/utils/clipboard.h"
#include "korvex/utils/logger.h"

namespace korvex::widgets {

using utils::format;
using utils::logger;

bool CanvasExport::save(const QString& fn, bool copy2clipboard) const {
    const QImage image = canvas_.render();
    logger().info(format("Save picture to {}", fn));
    try {
        scene::write_png(fn, image);
    } catch (const std::runtime_error& e) {
        logger().error(format("Picture not saved: {}", e.what()));
        return false;
    }
    if (copy2clipboard) utils::copy_to_clipboard(fn);
    return true;
}

}  // namespace korvex::widgets
