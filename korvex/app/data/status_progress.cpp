#include "korvex/app/data/status_progress.h"

#include <QApplication>
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

QMainWindow* StatusProgress::main_window() {
    if (auto* active = qobject_cast<QMainWindow*>(QApplication::activeWindow())) return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<QMainWindow*>(widget)) return window;
    return nullptr;
}

StatusProgress* StatusProgress::add(const QString& text, std::function<void()> cancel) {
    QMainWindow* window = main_window();
    if (!window) return nullptr;
    auto* progress = new StatusProgress(text, std::move(cancel), window->statusBar());
    window->statusBar()->addPermanentWidget(progress);
    return progress;
}

StatusProgress* StatusProgress::add_waiting(const QString& text) {
    StatusProgress* progress = add(text, nullptr);
    if (progress) progress->bar_->setRange(0, 0);
    return progress;
}

void StatusProgress::tell(const QString& message) {
    if (QMainWindow* window = main_window()) window->statusBar()->showMessage(message);
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
