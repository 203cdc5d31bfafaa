#pragma once

#include <QMainWindow>
#include <QStringList>

#include "korvex/app/start_up/script_runner.h"
#include "korvex/host/window_host.h"

class QMenu;

namespace korvex::testing {

// A real main window that docks modules and runs scripts the way the application does,
// recording each run_script call. It has no data tree, database or plug-ins.
class DockingMainWindow final : public QMainWindow, public host::WindowHost {
    Q_OBJECT

public:
    explicit DockingMainWindow(const QString& workdir = QString());

    host::DataRegistry* treebase() const override;
    host::ProjectHandle* database() const override;
    host::PluginRegistry* plugins_manager() const override;
    QString workdir() const override;
    void set_workdir(const QString& path);
    void add_dockwidget(host::Dockable* module) override;
    void run_script(const QString& path) override;
    QWidget* widget() const override;

    QMenu* view_menu() const;
    QStringList run_script_calls() const;
    app::ScriptRunner* script_runner();

private:
    QString workdir_;
    QMenu* view_menu_;
    QStringList run_script_calls_;
    app::ScriptRunner script_runner_;
};

}  // namespace korvex::testing
