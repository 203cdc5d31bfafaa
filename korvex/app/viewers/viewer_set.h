#pragma once

#include <QStringList>
#include <vector>

namespace korvex::app {

class DisplayTarget;

// The 3D viewers of a session as a project sees them: what each shows and how, which
// one is in front, and a fresh set of them when a project is opened.
class ViewerSet {
public:
    virtual ~ViewerSet() = default;

    // In their order (tabs, left to right).
    virtual std::vector<DisplayTarget*> targets() const = 0;
    virtual int active_index() const = 0;
    // Ignored when out of range.
    virtual void set_active_index(int index) = 0;
    // Replaces every viewer with new ones of these names (at least one): fresh cameras,
    // nothing shown.
    virtual void reset_viewers(const QStringList& names) = 0;
};

}  // namespace korvex::app
