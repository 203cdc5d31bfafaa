#pragma once

#include <QString>

#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

// The menu bar of a test plug-in. Its mode name, and the title of the one menu that
// setup() adds, tell a test which library a bar came from and how often it was set up.
class TestMenuBar final : public korvex::widgets::PluginMenuBar {
public:
    TestMenuBar(const QString& name, const QString& menu) : name_(name), menu_(menu) {}

    QString NAME() const override { return name_; }
    void setup() override { addMenu(menu_); }

private:
    QString name_;
    QString menu_;
};
