#include "korvex/utils/icon_manager.h"

#include <QFile>

#include "korvex/utils/logger.h"

// The icon set is compiled into this library; make sure its resources are registered
// even when the library is loaded by a host that never names them.
static void init_icon_resources() { Q_INIT_RESOURCE(icons); }

namespace korvex::utils {

QIcon icon(const QString& name) {
    static const bool registered = (init_icon_resources(), true);
    Q_UNUSED(registered);
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    if (!QFile::exists(path)) {
        logger().warning(format("No icon named \"{}\"", name));
        return QIcon();
    }
    return QIcon(path);
}

}  // namespace korvex::utils
