// Out-of-line destructors anchor each interface's type information in one library,
// so dynamic_cast works across the module libraries.
#include "korvex/host/appearance_owner.h"
#include "korvex/host/data_object.h"
#include "korvex/host/data_tree.h"
#include "korvex/host/main_window.h"
#include "korvex/host/panel_host.h"
#include "korvex/host/persistent_object.h"
#include "korvex/host/plugin_manager.h"

namespace korvex::host {

DataObject::~DataObject() = default;
DataTree::~DataTree() = default;
PluginManager::~PluginManager() = default;
ProjectDatabase::~ProjectDatabase() = default;
MainWindowInterface::~MainWindowInterface() = default;
MainHolder::~MainHolder() = default;
PersistentObject::~PersistentObject() = default;
PanelHost::~PanelHost() = default;
HostedPanel::~HostedPanel() = default;
AppearanceOwner::~AppearanceOwner() = default;

}  // namespace korvex::host
