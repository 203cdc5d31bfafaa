#include <QObject>
#include <memory>
#include <stdexcept>

#include "korvex/host/plugin_menu_bar_factory.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

// Cannot even say its mode name.
class UnnamedMenuBar final : public korvex::widgets::PluginMenuBar {
public:
    QString NAME() const override { throw std::runtime_error("no name configured"); }
    void setup() override { addMenu("Unnamed"); }
};

class UnnamedPlugin final : public QObject, public korvex::host::PluginMenuBarFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.korvex.PluginMenuBar/1.0" FILE "unnamed_plugin.json")
    Q_INTERFACES(korvex::host::PluginMenuBarFactory)

public:
    std::unique_ptr<korvex::widgets::PluginMenuBar> create() const override {
        return std::make_unique<UnnamedMenuBar>();
    }
};

#include "unnamed_plugin.moc"
