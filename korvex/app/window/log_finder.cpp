#include "korvex/app/window/log_finder.h"

#include <QApplication>
#include <QInputDialog>
#include <QShortcut>
#include <QTextBrowser>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;

LogFinder::LogFinder(QTextBrowser* view, QWidget* scope) : QObject(scope), view_(view) {
    auto* find =
        new QShortcut(QKeySequence::Find, scope, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    find->setWhatsThis(_("Find the selected word in the run journal"));
    connect(find, &QShortcut::activated, this,
            [this] { utils::call_guarded(_("Find"), [this] { find_selection_or_ask(); }); });
    auto* again = new QShortcut(QKeySequence::FindNext, scope, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    again->setWhatsThis(_("Find the same text again in the run journal"));
    connect(again, &QShortcut::activated, this,
            [this] { utils::call_guarded(_("Find again"), [this] { find_again(); }); });
}

bool LogFinder::find_next(const QString& text) {
    if (!view_ || text.isEmpty()) return false;
    last_text_ = text;
    if (view_->find(text)) return true;
    const QTextCursor kept = view_->textCursor();
    view_->moveCursor(QTextCursor::Start);
    if (view_->find(text)) return true;
    view_->setTextCursor(kept);
    QApplication::beep();
    return false;
}

void LogFinder::find_selection_or_ask() {
    if (!view_) return;
    const QString selected = view_->textCursor().selectedText();
    const QString text = selected.isEmpty() ? ask(last_text_) : selected;
    find_next(text);
}

void LogFinder::find_again() { find_next(last_text_.isEmpty() ? ask(QString()) : last_text_); }

QString LogFinder::ask(const QString& proposal) const {
    return QInputDialog::getText(view_, _("Find"), _("Find in the run journal:"), QLineEdit::Normal,
                                 proposal);
}

}  // namespace korvex::app
