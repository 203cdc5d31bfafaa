#include "korvex/app/data/restore_setting.h"

#include <exception>

#include "korvex/utils/logger.h"

namespace korvex::app::data {

void restore_setting(const QString& object, const QVariantMap& settings, const QString& key,
                     const std::function<void(const QVariant&)>& set) {
    if (!settings.contains(key)) return;
    try {
        set(settings[key]);
    } catch (const std::exception& error) {
        utils::logger().warning(
            utils::format("{}: saved {} ignored: {}", object, key, error.what()));
    }
}

}  // namespace korvex::app::data
