#include "korvex/seismic/section_kind.h"

#include "korvex/config/base.h"
#include "korvex/utils/appconsts/appconsts.h"

namespace korvex::seismic {

// The kinds are declared in the order of the constants' section types.
QString section_type(SectionKind kind) {
    return utils::appconsts::SECTION_TYPES.at(static_cast<std::size_t>(kind));
}

QString section_title(SectionKind kind) {
    switch (kind) {
        case SectionKind::iline:
            return config::_("Inline");
        case SectionKind::xline:
            return config::_("Crossline");
        case SectionKind::depth:
            break;
    }
    return config::_("Time");
}

std::optional<SectionKind> section_kind(const QString& type) {
    for (const SectionKind kind : SECTION_KINDS)
        if (section_type(kind) == type) return kind;
    return std::nullopt;
}

}  // namespace korvex::seismic
