#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

#include "korvex/automation/bot_export.h"

class QWidget;

namespace korvex::automation {

// The delay, in milliseconds, of every click a scripted run makes.
inline constexpr int MS_SCRIPTED_CLICK_DELAY = 1;

// Drives widgets the way a user does, through Qt's test events: what scripted runs and
// the GUI tests click and type with. Holds nothing, so it can be copied into deferred steps.
class KORVEX_BOT_EXPORT Bot final {
public:
    // Presses and releases `button` on `widget` after `delay` milliseconds (-1: Qt's
    // default delay), at `pos` (a null point: the widget's centre).
    void mouseClick(QWidget* widget, Qt::MouseButton button, int delay = -1, QPoint pos = QPoint(),
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
    // Types `text` into `widget`, one key at a time.
    void keyClicks(QWidget* widget, const QString& text) const;
    void keyClick(QWidget* widget, Qt::Key key,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
};

}  // namespace korvex::automation
