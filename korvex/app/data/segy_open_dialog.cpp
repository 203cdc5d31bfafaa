#include "korvex/app/data/segy_open_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent>

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
    for (QLabel* label : {preview_, proposal_}) {
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    use_proposal_->hide();

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
}

SegyOpenDialog::Preview SegyOpenDialog::preview(const QString& path, seismic::SegyHeaderBytes bytes,
                                                bool propose) {
    Preview result;
    try {
        const seismic::SegyVolumeFile file(path, bytes);
        const seismic::SegyGeometry& g = file.geometry();
        result.text = _("%1 inlines x %2 crosslines, %3 samples of %4 ms")
                          .arg(g.iline_count())
                          .arg(g.xline_count())
                          .arg(g.samples)
                          .arg(g.sample_interval_ms);
        // A sparse grid is the sign of bytes that hold something else than line numbers.
        if (g.has_holes())
            result.text += _("; %1 of %2 positions hold a trace")
                               .arg(g.live_trace_count())
                               .arg(g.position_count());
        result.ok = true;
        return result;
    } catch (const std::exception& error) {
        result.text = QString::fromStdString(error.what());
        // Gathers need no other bytes: those would spread them over a grid of their offsets.
        if (dynamic_cast<const seismic::PrestackError*>(&error)) return result;
    }
    if (!propose) return result;
    try {
        const auto sample = seismic::TraceHeaderSample::read(path);
        const seismic::LineNumberScan scan(sample);
        if (const auto found = scan.best()) {
            result.proposed = found->bytes;
            result.proposal = _("Line numbers found at %1").arg(found->describe());
        } else {
            result.proposal =
                _("No pair of trace header fields puts the traces on a grid: %1").arg(scan.tried());
        }
    } catch (const std::exception&) {
        // The preview names what is wrong with the file.
    }
    return result;
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
    const int asked = ++previews_;
    findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->setEnabled(false);
    preview_->setText(_("Reading the trace headers..."));
    auto* watcher = new QFutureWatcher<Preview>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, asked] {
        watcher->deleteLater();
        if (asked == previews_) show_preview(watcher->result(), asked == 1);
    });
    watcher->setFuture(
        QtConcurrent::run(&SegyOpenDialog::preview, path_, header_bytes(), asked == 1));
}

void SegyOpenDialog::show_preview(const Preview& preview, bool first) {
    preview_->setText(preview.text);
    findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->setEnabled(preview.ok);
    if (first) {
        proposal_->setText(preview.proposal);
        proposed_ = preview.proposed;
        use_proposal_->setVisible(proposed_.has_value());
    }
    // The dialog was sized for the one line saying that the headers are being read.
    resize(size().expandedTo(sizeHint()));
}

std::optional<seismic::SegyHeaderBytes> SegyOpenDialog::ask(const QString& path, QWidget* parent) {
    SegyOpenDialog dialog(path, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.header_bytes();
}

}  // namespace korvex::app::data
