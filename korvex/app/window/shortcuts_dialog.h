#pragma once

#include <QDialog>

#include "korvex/app/app_export.h"

class QTableWidget;

namespace korvex::app {

// Help > Keyboard shortcuts: every key of a window, with what it does, read from the
// window itself (menu commands, tool buttons, shortcuts with a description), so the
// list cannot drift from the keys that really work.
class KORVEX_APP_EXPORT ShortcutsDialog final : public QDialog {
    Q_OBJECT

public:
    explicit ShortcutsDialog(QWidget* window);

    QTableWidget* table() const { return table_; }

private:
    void add_row(const QString& key, const QString& what);

    QTableWidget* table_;
};

}  // namespace korvex::app
