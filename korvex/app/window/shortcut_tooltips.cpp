#include "korvex/app/window/shortcut_tooltips.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolButton>
#include <QToolTip>

#include "korvex/utils/qthelpers.h"

namespace korvex::app {

ShortcutTooltips::ShortcutTooltips(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

ShortcutTooltips::~ShortcutTooltips() { qApp->removeEventFilter(this); }

bool ShortcutTooltips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button || button->toolTip().isEmpty()) return false;
    const QKeySequence shortcut =
        button->shortcut().isEmpty() ? utils::key_of(*button) : button->shortcut();
    if (shortcut.isEmpty()) return false;
    const QString key = shortcut.toString(QKeySequence::NativeText);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       QStringLiteral("%1 (%2)").arg(button->toolTip(), key), button);
    return true;
}

}  // namespace korvex::app
