#include "korvex/automation/bot.h"

#include <QTest>

namespace korvex::automation {

void Bot::mouseClick(QWidget* widget, Qt::MouseButton button, int delay, QPoint pos,
                     Qt::KeyboardModifiers modifiers) const {
    QTest::mouseClick(widget, button, modifiers, pos, delay);
}

void Bot::keyClicks(QWidget* widget, const QString& text) const { QTest::keyClicks(widget, text); }

void Bot::keyClick(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    QTest::keyClick(widget, key, modifiers);
}

}  // namespace korvex::automation
