#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "korvex/utils/user_action.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::widgets {

using config::_;

CanvasExportDialog::CanvasExportDialog(QWidget* parent)
    : QDialog(parent),
      path_edit_(new QLineEdit(QDir::home().filePath("canvas.png"), this)),
      clipboard_box_(new QCheckBox(_("Copy to clipboard"), this)),
      export_button_(nullptr) {
    setWindowTitle(_("Export canvas to picture"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    auto* browse_button = new QToolButton(this);
    browse_button->setText("...");
    browse_button->setToolTip(_("Choose the file"));
    auto* path_row = new QHBoxLayout;
    path_row->addWidget(new QLabel(_("File"), this));
    path_row->addWidget(path_edit_, 1);
    path_row->addWidget(browse_button);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    export_button_ = buttons->addButton(_("Export"), QDialogButtonBox::AcceptRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(path_row);
    layout->addWidget(clipboard_box_);
    layout->addWidget(buttons);
    resize(480, sizeHint().height());

    connect(browse_button, &QToolButton::clicked, this,
            [this] { utils::call_guarded("Choose picture file", [this] { browse(); }); });
    connect(path_edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { export_button_->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this,
            [this] { utils::call_guarded("Export canvas", [this] { start(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
}

QString CanvasExportDialog::path() const { return path_edit_->text().trimmed(); }

void CanvasExportDialog::set_path(const QString& path) { path_edit_->setText(path); }

bool CanvasExportDialog::copy_to_clipboard() const { return clipboard_box_->isChecked(); }

void CanvasExportDialog::browse() {
    QString chosen = QFileDialog::getSaveFileName(this, _("Save picture"), path(), FILTER);
    if (chosen.isEmpty()) return;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".png";
    set_path(chosen);
}

void CanvasExportDialog::start() {
    if (path().isEmpty()) return;
    // Close first: the export draws the canvas, which this dialog may cover.
    const QString fn = path();
    const bool copy = copy_to_clipboard();
    close();
    const utils::UserAction users_own;
    emit sig_start(fn, copy);
}

}  // namespace korvex::widgets
