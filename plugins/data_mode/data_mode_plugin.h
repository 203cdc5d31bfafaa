#pragma once

#include <QObject>
#include <memory>

#include "korvex/widgets/menu_toggle/plugin_menu_bar_factory.h"
#include "plugins/data_mode/data_mode_menu_bar.h"

namespace korvex::plugins {

class DataModePlugin final : public QObject, public widgets::PluginMenuBarFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.korvex.PluginMenuBar/1.0" FILE "data_mode.json")
    Q_INTERFACES(korvex::widgets::PluginMenuBarFactory)

public:
    std::unique_ptr<widgets::PluginMenuBar> create() const override {
        return std::make_unique<DataModeMenuBar>();
    }
};

}  // namespace korvex::plugins
