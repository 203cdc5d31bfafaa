#pragma once

#include <vector>

#include "korvex/app/project/project_snapshot.h"

namespace korvex::app {

class DataModel;

// The section views of a session as a project sees them.
class SectionViewSet {
public:
    virtual ~SectionViewSet() = default;

    // In their order (tabs, left to right).
    virtual std::vector<SectionViewRecord> section_view_records() const = 0;
    virtual void close_section_views() = 0;
    // Opens the views of a project on the volumes of `model`; one whose volume is missing
    // or whose state cannot be used is left out, with the reason logged. Returns whether
    // every view came back.
    virtual bool restore_section_views(const std::vector<SectionViewRecord>& records,
                                       const DataModel& model) = 0;
};

}  // namespace korvex::app
