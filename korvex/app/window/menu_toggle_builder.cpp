#include "korvex/app/window/menu_toggle_builder.h"

#include <QFileInfo>
#include <exception>
#include <optional>

#include "korvex/app/window/plugin_manager.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

namespace korvex::app {

using utils::format;

namespace {

bool name_reads(const widgets::PluginMenuBar& bar) {
    try {
        bar.NAME();
        return true;
    } catch (...) {
        return false;
    }
}

// The plug-in the switcher stopped at. It takes the plug-ins in order, reads each one's
// NAME, hands it the data tree, then sets it up; so it stopped at the last plug-in handed
// the tree, unless the next one's NAME is what failed.
std::optional<host::PluginRecord> failed_plugin(const std::vector<host::PluginRecord>& records) {
    std::optional<host::PluginRecord> last_handed_the_tree;
    for (const host::PluginRecord& record : records) {
        const auto* bar = qobject_cast<const widgets::PluginMenuBar*>(record.plugin_object);
        if (bar && bar->treebase()) {
            last_handed_the_tree = record;
            continue;
        }
        if (!bar || !name_reads(*bar)) return record;
        break;
    }
    return last_handed_the_tree;
}

// What the exception being handled says; call from a catch block only.
QString current_reason() {
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

}  // namespace

widgets::MenuToggle* build_menu_toggle(QWidget* owner, PluginManager& plugins) {
    const QString category = widgets::MenuToggle::PLUGIN_CATEGORY;
    for (;;) {
        try {
            return new widgets::MenuToggle(owner);
        } catch (...) {
            const auto failed = failed_plugin(plugins.getPluginsOfCategory(category));
            if (!failed) throw;
            utils::logger().error(
                format("Menu-bar plug-in \"{}\" ({}) failed: {}. Its mode is left out.",
                       failed->name, QFileInfo(failed->path).fileName(), current_reason()));
            plugins.leave_out(failed->plugin_object);
            // The plug-ins before it were set up for the switcher that failed.
            plugins.renew(category);
        }
    }
}

}  // namespace korvex::app
