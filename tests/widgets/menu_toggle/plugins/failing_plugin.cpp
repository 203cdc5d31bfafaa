#include <QObject>
#include <memory>

#include "korvex/host/plugin_menu_bar_factory.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"

// Keeps the base setup(), so setting it up fails with NotImplementedError.
class FailingMenuBar final : public korvex::widgets::PluginMenuBar {
public:
    QString NAME() const override { return "Failing Mode"; }
};

class FailingPlugin final : public QObject, public korvex::host::PluginMenuBarFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.korvex.PluginMenuBar/1.0" FILE "failing_plugin.json")
    Q_INTERFACES(korvex::host::PluginMenuBarFactory)

public:
    std::unique_ptr<korvex::widgets::PluginMenuBar> create() const override {
        return std::make_unique<FailingMenuBar>();
    }
};

#include "failing_plugin.moc"
