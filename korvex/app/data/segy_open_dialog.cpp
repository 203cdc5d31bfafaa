#include "korvex/app/data/segy_open_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "korvex/app/data/header_browser.h"
#include "korvex/config/base.h"
#include "korvex/seismic/line_number_scan.h"
#include "korvex/seismic/prestack_error.h"
#include "korvex/seismic/trace_header_sample.h"
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
      preview_(new QLabel(this)),
      proposal_(new QLabel(this)),
      use_proposal_(new QPushButton(_("Use these bytes"), this)) {
    setWindowTitle(_("Open SEG-Y: %1").arg(QFileInfo(path).fileName()));
    setMinimumWidth(480);
    preview_->setWordWrap(true);
    preview_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->addRow(_("Inline number at byte"), iline_byte_);
    form->addRow(_("Crossline number at byte"), xline_byte_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* headers = buttons->addButton(_("Headers..."), QDialogButtonBox::ActionRole);
    connect(headers, &QPushButton::clicked, this, [this] {
        HeaderBrowser::open(path_, {header_bytes(), std::nullopt}, this);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview_);
    auto* proposal_row = new QHBoxLayout;
    proposal_row->addWidget(proposal_, 1);
    proposal_row->addWidget(use_proposal_);
    layout->addLayout(proposal_row);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box : {iline_byte_, xline_byte_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            utils::call_guarded(QStringLiteral("Checking the SEG-Y header bytes"),
                                [this] { update_preview(); });
        });
    }
    connect(use_proposal_, &QPushButton::clicked, this, [this] {
        utils::call_guarded(QStringLiteral("Taking the proposed SEG-Y header bytes"),
                            [this] { use_proposal(); });
    });
    update_preview();
    propose();
}

void SegyOpenDialog::propose() {
    proposal_->setWordWrap(true);
    proposal_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    use_proposal_->hide();
    // Gathers need no other bytes: those would spread them over a grid of their offsets.
    if (findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled() || gathers_)
        return;
    try {
        const auto sample = seismic::TraceHeaderSample::read(path_);
        const seismic::LineNumberScan scan(sample);
        const auto found = scan.best();
        if (!found) {
            proposal_->setText(_("No pair of trace header fields puts the traces on a grid: %1")
                                   .arg(scan.tried()));
            return;
        }
        proposed_ = found->bytes;
        proposal_->setText(_("Line numbers found at %1").arg(found->describe()));
        use_proposal_->show();
    } catch (const std::exception&) {
        // The preview names what is wrong with the file.
    }
}

void SegyOpenDialog::use_proposal() {
    if (!proposed_) return;
    iline_byte_->setValue(proposed_->iline);
    xline_byte_->setValue(proposed_->xline);
}

QString SegyOpenDialog::proposal_text() const { return proposal_->text(); }

seismic::SegyHeaderBytes SegyOpenDialog::header_bytes() const {
    return {iline_byte_->value(), xline_byte_->value()};
}

QString SegyOpenDialog::preview_text() const { return preview_->text(); }

void SegyOpenDialog::update_preview() {
    auto* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    gathers_ = false;
    try {
        const seismic::SegyVolumeFile file(path_, header_bytes());
        const seismic::SegyGeometry& g = file.geometry();
        QString text = _("%1 inlines x %2 crosslines, %3 samples of %4 ms")
                           .arg(g.iline_count())
                           .arg(g.xline_count())
                           .arg(g.samples)
                           .arg(g.sample_interval_ms);
        // A sparse grid is the sign of bytes that hold something else than line numbers.
        if (g.has_holes())
            text += _("; %1 of %2 positions hold a trace")
                        .arg(g.live_trace_count())
                        .arg(g.position_count());
        preview_->setText(text);
        ok->setEnabled(true);
    } catch (const std::exception& error) {
        gathers_ = dynamic_cast<const seismic::PrestackError*>(&error) != nullptr;
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
