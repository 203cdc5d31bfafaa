#include "korvex/app/shortcut_tooltips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace korvex::app {

ShortcutTooltips::ShortcutTooltips(QObject* parent) : QObject(parent) {
    qApp->installEventFilter(this);
}

ShortcutTooltips::~ShortcutTooltips() { qApp->removeEventFilter(this); }

bool ShortcutTooltips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || button->toolTip().isEmpty() || button->shortcut().isEmpty()) return false;
    const QString key = button->shortcut().toString(QKeySequence::NativeText);
    QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                       QStringLiteral("%1 (%2)").arg(button->toolTip(), key), button);
    return true;
}

}  // namespace korvex::app
