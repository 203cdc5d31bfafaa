#pragma once

#include <QDialog>

#include "korvex/app/app_export.h"

class QTextBrowser;

namespace korvex::app {

// Help > User guide: the few things a new user needs to get going (opening data, the
// views, picking, the keys), in the application's own words; the panels' help boxes
// keep their short notes.
class KORVEX_APP_EXPORT UserGuideDialog final : public QDialog {
    Q_OBJECT

public:
    explicit UserGuideDialog(QWidget* window);

    QTextBrowser* text() const { return text_; }

private:
    QTextBrowser* text_;
};

}  // namespace korvex::app
