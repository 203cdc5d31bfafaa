#pragma once

namespace korvex::host {

class WindowHost;

// An object that reaches the main window: the last link of every owner chain.
class MainHolder {
public:
    virtual ~MainHolder();
    virtual WindowHost* main() const = 0;
};

}  // namespace korvex::host
