#pragma once

#include <QHash>
#include <QString>
#include <QToolBar>

#include "korvex/utils/ordered_map.h"
#include "korvex/widgets/menu_toggle/menu_toggle_export.h"

class QAction;
class QComboBox;
class QMenuBar;

namespace korvex::host {
struct PluginRecord;
class DataRegistry;
class MainHolder;
class WindowHost;
}  // namespace korvex::host

namespace korvex::widgets {

// A toolbar that switches between menu bars ("modes") chosen in its combo box: the
// built-in "Plugout Mode" and one mode per menu-bar plug-in of the main window's
// plug-in manager.
//
// The owner (the Qt parent given at construction) must be a host::MainHolder, for
// instance a main window whose main() is itself. Without an owner only "Plugout Mode"
// is offered. A plug-in failing while the switcher is built makes the constructor
// throw the plug-in's own error; leaving that plug-in out is the host's affair.
class KORVEX_MENU_TOGGLE_EXPORT MenuToggle final : public QToolBar {
    Q_OBJECT

public:
    static constexpr const char* PLUGOUT_MODE = "Plugout Mode";
    // The plug-in category whose plug-ins become modes.
    static constexpr const char* PLUGIN_CATEGORY = "PluginMenuBar";

    explicit MenuToggle(QWidget* parent = nullptr);
    ~MenuToggle() override;

    host::MainHolder* owner() const;
    // The owner's main window and its data tree; AttributeError where a link is missing.
    host::WindowHost* main() const;
    host::DataRegistry* treebase() const;

    const utils::OrderedMap<QString, QMenuBar*>& plugin_modes() const;
    QComboBox* cb_mode() const;
    QMenuBar* currentMenuBar() const;
    QAction* currentAction() const;

    // Shows the bar of the mode now selected in the combo box; `i` is not used.
    void mode_changed(int i);

private:
    void add_plugin_modes();
    // Lists the plug-in's bar once it is set up; throws what the plug-in throws.
    void add_plugin_mode(const host::PluginRecord& record);
    // Puts `bar` into the toolbar as the current one.
    void show_menu_bar(QMenuBar* bar);

    host::MainHolder* owner_ = nullptr;
    utils::OrderedMap<QString, QMenuBar*> plugin_modes_;
    QComboBox* cb_mode_ = nullptr;
    QMenuBar* currentMenuBar_ = nullptr;
    QAction* currentAction_ = nullptr;
    // One toolbar action per bar, reused on every switch.
    QHash<QMenuBar*, QAction*> bar_actions_;
};

}  // namespace korvex::widgets
