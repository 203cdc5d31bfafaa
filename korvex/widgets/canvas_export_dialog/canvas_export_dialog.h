#pragma once

#include <QDialog>
#include <QString>

#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog_export.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace korvex::widgets {

// Asks where to save a picture of a canvas (a PNG file, with a browse button) and
// whether to put it on the clipboard as well. Non-modal; Export emits sig_start and
// closes the dialog, which then deletes itself.
class KORVEX_CANVAS_EXPORT_DIALOG_EXPORT CanvasExportDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* FILTER = "PNG image (*.png)";

    explicit CanvasExportDialog(QWidget* parent = nullptr);

    QString path() const;
    void set_path(const QString& path);
    bool copy_to_clipboard() const;

signals:
    void sig_start(const QString& fn, bool copy2clipboard);

private:
    void browse();
    void start();

    QLineEdit* path_edit_;
    QCheckBox* clipboard_box_;
    QPushButton* export_button_;
};

}  // namespace korvex::widgets
