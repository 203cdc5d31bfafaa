#pragma once

#include <QString>
#include <stdexcept>

namespace korvex::widgets {

// A menu-bar plug-in failed while the switcher was being built. Thrown nested
// (std::throw_with_nested), so the plug-in's own error is still there to inspect.
class PluginSetupError : public std::runtime_error {
public:
    PluginSetupError(const QString& plugin, const QString& reason)
        : std::runtime_error((plugin + ": " + reason).toStdString()),
          plugin_(plugin),
          reason_(reason) {}

    // Which plug-in: its name and the library it came from.
    QString plugin() const { return plugin_; }
    QString reason() const { return reason_; }

private:
    QString plugin_;
    QString reason_;
};

}  // namespace korvex::widgets
