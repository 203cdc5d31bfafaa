#pragma once

#include <QMetaType>
#include <QString>
#include <array>
#include <optional>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// The three directions a volume is cut in: along an inline, along a crossline, and
// across the traces at one sample (a time or depth slice).
enum class SectionKind { iline, xline, depth };

constexpr std::array<SectionKind, 3> SECTION_KINDS{SectionKind::iline, SectionKind::xline,
                                                   SectionKind::depth};

// A kind's name where sections are named by text: project keys, the data tree, logs
// and the viewer's section arguments ("iline", "xline", "depth").
KORVEX_SEISMIC_EXPORT QString section_type(SectionKind kind);
// A kind's title as the user reads it, translated: "Inline", "Crossline", "Time".
KORVEX_SEISMIC_EXPORT QString section_title(SectionKind kind);
// The kind a section type names; none for any other text, an arbitrary line's included.
KORVEX_SEISMIC_EXPORT std::optional<SectionKind> section_kind(const QString& type);

}  // namespace korvex::seismic

Q_DECLARE_METATYPE(korvex::seismic::SectionKind)
