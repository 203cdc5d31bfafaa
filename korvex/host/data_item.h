#pragma once

#include <QString>

namespace korvex::host {

// One object's entry in the data tree, as the modules hold it. It names the object
// rather than pointing at the tree's row, so a handle kept after its object was
// removed finds nothing instead of dangling.
struct DataItem {
    QString object_name;

    bool operator==(const DataItem& other) const { return object_name == other.object_name; }
    bool operator!=(const DataItem& other) const { return !(*this == other); }
};

}  // namespace korvex::host
