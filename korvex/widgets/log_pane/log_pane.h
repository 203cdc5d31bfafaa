#pragma once

#include <QList>
#include <QWidget>

#include "korvex/widgets/log_pane/log_pane_export.h"

class QTextBrowser;
class QToolButton;

namespace korvex::widgets {

// A read-only log view under a small button row (clear, a placeholder, help). It writes
// nothing itself: whoever owns the log appends to textBrowser().
class KORVEX_LOG_PANE_EXPORT LogPane final : public QWidget {
    Q_OBJECT

public:
    // `options_button`, when given, goes to the right end of the button row and becomes
    // a child of the panel.
    explicit LogPane(QWidget* parent = nullptr, QWidget* options_button = nullptr);

    QTextBrowser* textBrowser() const;

    // The clear, placeholder and help buttons, in that order.
    QList<QToolButton*> setup_buttons();

    void show_help();

private:
    QTextBrowser* textBrowser_;
};

}  // namespace korvex::widgets
