#pragma once

#include <vector>

#include "korvex/app/project_snapshot.h"

namespace korvex::app {

class DataObjectFactory;
class DataTree;
class DisplayTarget;

// Reads the live session into a snapshot: the objects of the tree that a project can
// store, in tree order, and each viewer with its view state and what it shows of them.
ProjectSnapshot capture_session(const DataTree& tree, const std::vector<DisplayTarget*>& viewers,
                                int active_viewer);

// Loads the objects of a project into the tree. An object whose file is gone or cannot
// be read is added as missing, with the reason logged; the others load as usual.
void restore_objects(DataTree& tree, const std::vector<ObjectRecord>& records,
                     const DataObjectFactory& factory);

// Shows in `target` what the record says was shown, then puts its camera back.
bool restore_viewer(DataTree& tree, DisplayTarget& target, const ViewerRecord& record);

}  // namespace korvex::app
