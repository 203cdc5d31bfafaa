#pragma once

#include <QMainWindow>
#include <QStringList>

#include "korvex/host/project_handle.h"
#include "korvex/host/window_host.h"
#include "tests/support/fake_data_tree.h"

namespace korvex::testing {

class FakeProjectDatabase final : public host::ProjectHandle {};

// A main window with a real (fake) data tree and database, recording docks and scripts.
class FakeMainWindow final : public host::WindowHost {
public:
    FakeDataTree* treebase() const override { return tree_; }
    host::ProjectHandle* database() const override { return database_.get(); }
    host::PluginRegistry* plugins_manager() const override { return plugins; }
    QString workdir() const override { return workdir_; }
    void add_dockwidget(host::Dockable* module) override { docked.push_back(module); }
    void run_script(const QString& path) override { scripts << path; }
    QWidget* widget() const override { return &window_; }

    QString workdir_;
    host::PluginRegistry* plugins = nullptr;
    std::vector<host::Dockable*> docked;
    QStringList scripts;

private:
    mutable QMainWindow window_;
    FakeDataTree* tree_ = new FakeDataTree(&window_);
    std::unique_ptr<FakeProjectDatabase> database_ = std::make_unique<FakeProjectDatabase>();
};

}  // namespace korvex::testing
