#include "korvex/app/shortcut_sharing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcutEvent>

namespace korvex::app {

namespace {

bool holds(const QWidget* panel, const QWidget* widget) {
    return panel && widget && (panel == widget || panel->isAncestorOf(widget));
}

}  // namespace

ShortcutSharing::ShortcutSharing(QWidget* window, std::function<QWidget*()> preferred)
    : QObject(window), window_(window), preferred_(std::move(preferred)) {
    qApp->installEventFilter(this);
}

ShortcutSharing::~ShortcutSharing() { qApp->removeEventFilter(this); }

bool ShortcutSharing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Shortcut) return false;
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    const auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!shortcut->isAmbiguous() || !button || !holds(window_, button)) return false;
    if (QAbstractButton* chosen = choose(shortcut->key())) chosen->animateClick();
    return true;
}

QAbstractButton* ShortcutSharing::choose(const QKeySequence& key) const {
    QList<QAbstractButton*> candidates;
    for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
        if (button->shortcut() == key && button->isVisible() && button->isEnabled()) candidates << button;
    }
    const QWidget* focus = QApplication::focusWidget();
    for (QAbstractButton* button : candidates) {
        if (holds(button->parentWidget(), focus)) return button;
    }
    const QWidget* preferred = preferred_();
    for (QAbstractButton* button : candidates) {
        if (holds(preferred, button)) return button;
    }
    return nullptr;
}

}  // namespace korvex::app
