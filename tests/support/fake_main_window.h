#pragma once

#include <QMainWindow>
#include <QStringList>

#include "korvex/host/main_window.h"
#include "tests/support/fake_data_tree.h"

namespace korvex::testing {

class FakeProjectDatabase final : public host::ProjectDatabase {};

// A main window with a real (fake) data tree and database, recording docks and scripts.
class FakeMainWindow final : public host::MainWindowInterface {
public:
    FakeDataTree* treebase() const override { return tree_; }
    host::ProjectDatabase* database() const override { return database_.get(); }
    host::PluginManager* plugins_manager() const override { return plugins; }
    QString workdir() const override { return workdir_; }
    void add_dockwidget(modules::KorvexModuleWidget* module) override { docked.push_back(module); }
    void run_script(const QString& path) override { scripts << path; }
    QMainWindow* window() override { return &window_; }

    QString workdir_;
    host::PluginManager* plugins = nullptr;
    std::vector<modules::KorvexModuleWidget*> docked;
    QStringList scripts;

private:
    QMainWindow window_;
    FakeDataTree* tree_ = new FakeDataTree(&window_);
    std::unique_ptr<FakeProjectDatabase> database_ = std::make_unique<FakeProjectDatabase>();
};

}  // namespace korvex::testing
