#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QTextBrowser;
class QWidget;

namespace korvex::app {

// Finding in the journal, as its usage note promises: with the keyboard in `scope`,
// Ctrl+F finds the next place of the selected text (a double-clicked word), or asks
// for a text when nothing is selected; F3 finds the same text again. The search goes
// round from the end to the start.
class LogFinder final : public QObject {
    Q_OBJECT

public:
    LogFinder(QTextBrowser* view, QWidget* scope);

    // Finds the next place of `text` after the selection, going round once; false when
    // the journal does not hold it (the selection then stays as it was).
    bool find_next(const QString& text);
    QString last_text() const { return last_text_; }

private:
    void find_selection_or_ask();
    void find_again();
    QString ask(const QString& proposal) const;

    QPointer<QTextBrowser> view_;
    QString last_text_;
};

}  // namespace korvex::app
