#include "korvex/app/data/segy_open_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {

QSpinBox* byte_box(QWidget* parent, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(seismic::SegyHeaderBytes::FIRST, seismic::SegyHeaderBytes::LAST);
    box->setValue(value);
    return box;
}

}  // namespace

SegyOpenDialog::SegyOpenDialog(const QString& path, QWidget* parent)
    : QDialog(parent),
      path_(path),
      iline_byte_(byte_box(this, seismic::SegyHeaderBytes().iline)),
      xline_byte_(byte_box(this, seismic::SegyHeaderBytes().xline)),
      preview_(new QLabel(this)) {
    setWindowTitle(_("Open SEG-Y: %1").arg(QFileInfo(path).fileName()));
    preview_->setWordWrap(true);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(_("Inline number at byte"), iline_byte_);
    form->addRow(_("Crossline number at byte"), xline_byte_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box : {iline_byte_, xline_byte_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            utils::call_guarded(QStringLiteral("Checking the SEG-Y header bytes"),
                                [this] { update_preview(); });
        });
    }
    update_preview();
}

seismic::SegyHeaderBytes SegyOpenDialog::header_bytes() const {
    return {iline_byte_->value(), xline_byte_->value()};
}

QString SegyOpenDialog::preview_text() const { return preview_->text(); }

void SegyOpenDialog::update_preview() {
    auto* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    try {
        const seismic::SegyVolumeFile file(path_, header_bytes());
        const seismic::SegyGeometry& g = file.geometry();
        preview_->setText(_("%1 inlines x %2 crosslines, %3 samples of %4 ms")
                              .arg(g.iline_count())
                              .arg(g.xline_count())
                              .arg(g.samples)
                              .arg(g.sample_interval_ms));
        ok->setEnabled(true);
    } catch (const std::exception& error) {
        preview_->setText(QString::fromStdString(error.what()));
        ok->setEnabled(false);
    }
}

std::optional<seismic::SegyHeaderBytes> SegyOpenDialog::ask(const QString& path, QWidget* parent) {
    SegyOpenDialog dialog(path, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.header_bytes();
}

}  // namespace korvex::app::data
