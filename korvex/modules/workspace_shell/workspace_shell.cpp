#include "korvex/modules/workspace_shell/workspace_shell.h"

#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/host/window_host.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/terminal/terminal.h"

namespace korvex::modules {

using config::_;

WorkspaceShell::WorkspaceShell(host::WindowHost* parent) : KorvexModuleWidget(parent) {
    setObjectName(CONF_SECTION);
    initialize_module();
    terminal_ = new widgets::Terminal(this, options_button());
    auto* layout = new QVBoxLayout;
    layout->addWidget(terminal_);
    setLayout(layout);
}

widgets::Terminal* WorkspaceShell::terminal() const { return terminal_; }

QString WorkspaceShell::get_module_title() const { return _("Workspace shell"); }

QWidget* WorkspaceShell::get_focus_widget() const { return terminal_; }

QList<QAction*> WorkspaceShell::get_module_actions() const { return {}; }

void WorkspaceShell::register_module() {
    host::WindowHost& main = require_main();
    main.add_dockwidget(this);
    terminal_->set_work_dir(main.workdir());
    host::WindowHost* target = &main;
    connect(terminal_, &widgets::Terminal::sig_run_script, main.widget(),
            [target](const QString& path) {
                utils::call_guarded(_("Running a script"), [&] { target->run_script(path); });
            });
}

void WorkspaceShell::refresh_module(const std::optional<QString>&, bool) {}

bool WorkspaceShell::closing_module(bool) { return true; }

}  // namespace korvex::modules
