#pragma once

#include "korvex/modules/base/korvex_module_widget.h"
#include "korvex/modules/workspace_shell/workspace_shell_export.h"

namespace korvex::widgets {
class Terminal;
}

namespace korvex::modules {

// Workspace Shell DockWidget: a terminal in a dock of the main window, opened in the
// main window's work directory, whose scripts the main window runs.
class KORVEX_WORKSPACE_SHELL_EXPORT WorkspaceShell final : public KorvexModuleWidget {
    Q_OBJECT

public:
    static constexpr const char* CONF_SECTION = "workspace_shell";

    explicit WorkspaceShell(host::WindowHost* parent);

    widgets::Terminal* terminal() const;

    QString get_module_title() const override;
    QWidget* get_focus_widget() const override;
    QList<QAction*> get_module_actions() const override;
    // Docks the module, sends the terminal to the main window's work directory of this
    // moment and routes the terminal's script requests to the main window. Meant to be
    // called once: each call adds one more route.
    void register_module() override;
    void refresh_module(const std::optional<QString>& new_path = std::nullopt,
                        bool force_current = true) override;
    bool closing_module(bool cancelable = false) override;

private:
    widgets::Terminal* terminal_;
};

}  // namespace korvex::modules
