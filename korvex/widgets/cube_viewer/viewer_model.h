#pragma once

#include <QString>
#include <optional>

#include "korvex/utils/functions.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"

namespace korvex::widgets {

// What a viewer shows, apart from how it is drawn: the display-state map that the host
// saves with the project (object -> "object" / "properties" / "sections" -> entry ->
// shown) and the rules that read it. No widget and no scene: tested without a window.
class KORVEX_CUBE_VIEWER_EXPORT ViewerModel {
public:
    // The sections a viewer draws: "iline", "xline" or "depth", from the first five
    // characters of a section's name; absent for any other (an arbitrary line).
    static std::optional<QString> section_type(const QString& section_name);

    // Entries are only ever set to true or false, never removed one by one.
    void record(const QString& object, const QString& section, const QString& entry, bool shown);
    bool is_shown(const QString& object, const QString& section, const QString& entry) const;
    bool object_shown(const QString& object) const { return is_shown(object, "object", "self"); }
    // Whether no entry is true (an empty map, or everything hidden again).
    bool nothing_shown() const;
    // Whether nothing was ever recorded since the last clear.
    bool empty() const { return dpState_.empty(); }
    void clear() { dpState_ = {}; }
    const utils::DisplayState& dpState() const { return dpState_; }

private:
    utils::DisplayState dpState_;
};

}  // namespace korvex::widgets
