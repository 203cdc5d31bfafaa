#pragma once

#include <vector>

#include "korvex/app/project/project_snapshot.h"

namespace korvex::app {

// The picks of a session as its project keeps them: read when the project is saved or
// compared with its file, replaced when a project is created or opened.
class PickList {
public:
    virtual ~PickList() = default;

    // In the order they were made, each with the name of its viewer.
    virtual std::vector<PickRecord> pick_records() const = 0;
    // Replaces every pick and its marker; each record names a viewer of the session.
    virtual void replace_picks(const std::vector<PickRecord>& records) = 0;
};

}  // namespace korvex::app
