#pragma once

#include <QWidget>

#include "korvex/host/main_holder.h"
#include "korvex/host/panel_host.h"
#include "tests/support/fake_main_window.h"

namespace korvex::testing {

// The owner chain of a panel, ending in a fake main window: a plain window to mount
// the panel in (its Qt parent), which is also the holder of the main window.
class FakeHost final : public host::PanelHost, public host::MainHolder {
public:
    QWidget* widget() const override { return window_.get(); }
    host::MainHolder* owner() const override { return const_cast<FakeHost*>(this); }
    host::WindowHost* main() const override { return main_.get(); }

    FakeMainWindow& main_window() const { return *main_; }
    FakeDataTree& tree() const { return *main_->treebase(); }

private:
    std::unique_ptr<FakeMainWindow> main_ = std::make_unique<FakeMainWindow>();
    std::unique_ptr<QWidget> window_ = std::make_unique<QWidget>();
};

}  // namespace korvex::testing
