#pragma once

#include <QWidget>

#include "korvex/host/panel_host.h"

namespace korvex::testing {

// A panel mounted in a FakeHost, for widgets that walk up from their panel.
class FakePanel final : public QWidget, public host::HostedPanel {
    Q_OBJECT

public:
    explicit FakePanel(host::PanelHost* host)
        : QWidget(host ? host->widget() : nullptr), host_(host) {}
    QWidget* widget() override { return this; }
    host::PanelHost* owner() const override { return host_; }

private:
    host::PanelHost* host_;
};

}  // namespace korvex::testing
