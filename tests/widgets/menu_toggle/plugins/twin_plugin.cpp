#include <QObject>
#include <memory>

#include "korvex/host/plugin_menu_bar_factory.h"
#include "tests/widgets/menu_toggle/plugins/test_menu_bar.h"

class TwinPlugin final : public QObject, public korvex::host::PluginMenuBarFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.korvex.PluginMenuBar/1.0" FILE "twin_plugin.json")
    Q_INTERFACES(korvex::host::PluginMenuBarFactory)

public:
    std::unique_ptr<korvex::widgets::PluginMenuBar> create() const override {
        return std::make_unique<TestMenuBar>("Test Mode", "Twin");
    }
};

#include "twin_plugin.moc"
