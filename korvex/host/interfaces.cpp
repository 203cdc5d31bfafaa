// Out-of-line destructors anchor each interface's type information in one library,
// so dynamic_cast works across the module libraries.
#include "korvex/host/appearance_owner.h"
#include "korvex/host/data_object.h"
#include "korvex/host/data_registry.h"
#include "korvex/host/dockable.h"
#include "korvex/host/main_holder.h"
#include "korvex/host/panel_host.h"
#include "korvex/host/persistent_object.h"
#include "korvex/host/plugin_registry.h"
#include "korvex/host/project_handle.h"
#include "korvex/host/window_host.h"

namespace korvex::host {

DataObject::~DataObject() = default;
DataRegistry::~DataRegistry() = default;
Dockable::~Dockable() = default;
PluginRegistry::~PluginRegistry() = default;
ProjectHandle::~ProjectHandle() = default;
WindowHost::~WindowHost() = default;
MainHolder::~MainHolder() = default;
PersistentObject::~PersistentObject() = default;
PanelHost::~PanelHost() = default;
HostedPanel::~HostedPanel() = default;
AppearanceOwner::~AppearanceOwner() = default;

}  // namespace korvex::host
