#include "korvex/widgets/cube_viewer/viewer_model.h"

#include <QStringList>

namespace korvex::widgets {

namespace {
const QStringList SECTION_TYPES{"iline", "xline", "depth"};
constexpr int SECTION_TYPE_LENGTH = 5;
}  // namespace

std::optional<QString> ViewerModel::section_type(const QString& section_name) {
    const QString type = section_name.left(SECTION_TYPE_LENGTH);
    if (!SECTION_TYPES.contains(type)) return std::nullopt;
    return type;
}

void ViewerModel::record(const QString& object, const QString& section, const QString& entry,
                         bool shown) {
    utils::save_display_state(dpState_, object, section, entry, shown);
}

bool ViewerModel::is_shown(const QString& object, const QString& section,
                           const QString& entry) const {
    return utils::is_shown(dpState_, object, section, entry);
}

bool ViewerModel::nothing_shown() const {
    for (const auto& [object, groups] : dpState_)
        for (const auto& [group, entries] : groups)
            for (const auto& [entry, shown] : entries)
                if (shown) return false;
    return true;
}

}  // namespace korvex::widgets
