#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section_kind.h"

namespace korvex::app::data {

class SeismicVolume;

// Applies settings[key] through `set`, if present. A value `set` refuses is logged as a
// warning naming the object and skipped: a hand-edited or outdated project must not
// cost the user the object itself.
void restore_setting(const QString& object, const QVariantMap& settings, const QString& key,
                     const std::function<void(const QVariant&)>& set);

// The index of `volume`'s section of `kind` at a saved line number or time. A value the
// volume no longer holds (its file was changed after the project was saved) takes the
// nearest, and `owner` is warned of it naming the file: the next save keeps the new place,
// so the move must not go unseen.
KORVEX_DATA_EXPORT int restored_section_index(const QString& owner, const SeismicVolume& volume,
                                              seismic::SectionKind kind, double value);

}  // namespace korvex::app::data
