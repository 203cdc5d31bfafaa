#include "korvex/automation/bot.h"

#include <QTest>

namespace korvex::automation {

void Bot::mouseClick(QWidget* widget, Qt::MouseButton button, int delay, QPoint pos,
                     Qt::KeyboardModifiers modifiers) const {
    QTest::mouseClick(widget, button, modifiers, pos, delay);
}

}  // namespace korvex::automation
