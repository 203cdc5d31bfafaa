#pragma once

#include <QObject>

namespace korvex::app {

// Shows a button's key with its tooltip ("Pick mode (P)") while its tooltip text stays
// the one it was given, translated as it is. Watches the tooltips of the whole application.
class ShortcutTooltips final : public QObject {
    Q_OBJECT

public:
    explicit ShortcutTooltips(QObject* parent);
    ~ShortcutTooltips() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace korvex::app
