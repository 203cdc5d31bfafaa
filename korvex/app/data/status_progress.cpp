#include "korvex/app/data/status_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {
constexpr int STEPS = 1000;
}

StatusProgress* StatusProgress::add(QMainWindow* host, const QString& text,
                                    std::function<void()> cancel) {
    if (!host) return nullptr;
    auto* progress = new StatusProgress(text, std::move(cancel), host->statusBar());
    host->statusBar()->addPermanentWidget(progress);
    return progress;
}

StatusProgress* StatusProgress::add_waiting(QMainWindow* host, const QString& text) {
    StatusProgress* progress = add(host, text, nullptr);
    if (progress) progress->bar_->setRange(0, 0);
    return progress;
}

void StatusProgress::tell(QMainWindow* host, const QString& message) {
    if (host) host->statusBar()->showMessage(message);
}

StatusProgress::StatusProgress(const QString& text, std::function<void()> cancel, QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(text, this));
    bar_->setRange(0, STEPS);
    bar_->setMaximumWidth(160);
    layout->addWidget(bar_);
    if (!cancel) return;
    auto* stop = new QToolButton(this);
    stop->setText(_("Cancel"));
    stop->setToolTip(_("Stop this work; it starts again when the data is next opened"));
    layout->addWidget(stop);
    connect(stop, &QToolButton::clicked, this, [cancel = std::move(cancel)] {
        utils::call_guarded(QStringLiteral("Cancelling"), cancel);
    });
}

void StatusProgress::reserve_room(QMainWindow& window) {
    QStatusBar* bar = window.statusBar();
    auto* sample = new StatusProgress(
        QStringLiteral("0%"), [] {}, bar);
    bar->addPermanentWidget(sample);
    const int height = bar->sizeHint().height();
    bar->removeWidget(sample);
    delete sample;
    bar->setMinimumHeight(height);
}

void StatusProgress::set_fraction(double fraction) { bar_->setValue(int(fraction * STEPS)); }

}  // namespace korvex::app::data
