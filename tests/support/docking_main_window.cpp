#include "tests/support/docking_main_window.h"

#include <QMenuBar>

#include "korvex/modules/base/dock_module.h"

namespace korvex::testing {

DockingMainWindow::DockingMainWindow(const QString& workdir)
    : workdir_(workdir), view_menu_(menuBar()->addMenu("View")) {
    setCentralWidget(new QWidget);
    resize(900, 600);
}

host::DataRegistry* DockingMainWindow::treebase() const { return nullptr; }
host::ProjectHandle* DockingMainWindow::database() const { return nullptr; }
host::PluginRegistry* DockingMainWindow::plugins_manager() const { return nullptr; }
QString DockingMainWindow::workdir() const { return workdir_; }
void DockingMainWindow::set_workdir(const QString& path) { workdir_ = path; }

void DockingMainWindow::add_dockwidget(host::Dockable* module) {
    modules::dock_module(this, module, view_menu_);
}

void DockingMainWindow::run_script(const QString& path) {
    run_script_calls_ << path;
    script_runner_.run(path, workdir_);
}

QWidget* DockingMainWindow::widget() const { return const_cast<DockingMainWindow*>(this); }
QMenu* DockingMainWindow::view_menu() const { return view_menu_; }
QStringList DockingMainWindow::run_script_calls() const { return run_script_calls_; }
app::ScriptRunner* DockingMainWindow::script_runner() { return &script_runner_; }

}  // namespace korvex::testing
