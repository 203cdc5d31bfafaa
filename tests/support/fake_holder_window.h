#pragma once

#include <QMainWindow>

#include "korvex/host/main_holder.h"

namespace korvex::testing {

// A Qt main window that is also the holder of a (fake) main window, as the host's own
// main window is: widgets mounted straight into it, such as toolbars, take it as both
// their Qt parent and their owner.
class FakeHolderWindow final : public QMainWindow, public host::MainHolder {
    Q_OBJECT

public:
    explicit FakeHolderWindow(host::WindowHost* main) : main_(main) { resize(640, 240); }
    host::WindowHost* main() const override { return main_; }

private:
    host::WindowHost* main_;
};

}  // namespace korvex::testing
