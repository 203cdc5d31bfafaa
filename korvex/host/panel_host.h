#pragma once

#include "korvex/host/host_export.h"

class QWidget;

namespace korvex::host {

class MainHolder;

// Where the host mounts a panel: the panel's Qt parent, and an owner that reaches
// the main window. A panel's owner chain is panel -> PanelHost -> MainHolder -> main().
class KORVEX_HOST_EXPORT PanelHost {
public:
    virtual ~PanelHost();
    virtual QWidget* widget() const = 0;
    virtual MainHolder* owner() const = 0;
};

// A panel mounted in a PanelHost; what the widgets it creates walk up from.
class KORVEX_HOST_EXPORT HostedPanel {
public:
    virtual ~HostedPanel();
    virtual QWidget* widget() = 0;
    virtual PanelHost* owner() const = 0;
};

}  // namespace korvex::host
