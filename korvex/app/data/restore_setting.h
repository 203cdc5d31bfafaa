#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>

namespace korvex::app::data {

// Applies settings[key] through `set`, if present. A value `set` refuses is logged as a
// warning naming the object and skipped: a hand-edited or outdated project must not
// cost the user the object itself.
void restore_setting(const QString& object, const QVariantMap& settings, const QString& key,
                     const std::function<void(const QVariant&)>& set);

}  // namespace korvex::app::data
