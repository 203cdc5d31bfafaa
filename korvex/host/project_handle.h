#pragma once

namespace korvex::host {

// The project database; modules only hold it and hand it back to the host.
class ProjectHandle {
public:
    virtual ~ProjectHandle();
};

}  // namespace korvex::host
