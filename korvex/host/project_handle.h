#pragma once

#include "korvex/host/host_export.h"

namespace korvex::host {

// The project database; modules only hold it and hand it back to the host.
class KORVEX_HOST_EXPORT ProjectHandle {
public:
    virtual ~ProjectHandle();
};

}  // namespace korvex::host
