#pragma once

#include "korvex/host/host_export.h"

namespace korvex::host {

class WindowHost;

// An object that reaches the main window: the last link of every owner chain.
class KORVEX_HOST_EXPORT MainHolder {
public:
    virtual ~MainHolder();
    virtual WindowHost* main() const = 0;
};

}  // namespace korvex::host
