#pragma once

#include <QObject>
#include <memory>

#include "korvex/host/plugin_menu_bar_factory.h"
#include "plugins/data_mode/data_mode_menu_bar.h"

namespace korvex::plugins {

class DataModePlugin final : public QObject, public host::PluginMenuBarFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.korvex.PluginMenuBar/1.0" FILE "data_mode.json")
    Q_INTERFACES(korvex::host::PluginMenuBarFactory)

public:
    std::unique_ptr<widgets::PluginMenuBar> create() const override {
        return std::make_unique<DataModeMenuBar>();
    }
};

}  // namespace korvex::plugins
