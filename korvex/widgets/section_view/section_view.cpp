#include "korvex/widgets/section_view/section_view.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/elided_label.h"

namespace korvex::widgets {

using config::_;

namespace {

const QString LINE = QStringLiteral("line");

}  // namespace

SectionView::SectionView(QWidget* options_button, QWidget* parent)
    : QWidget(parent),
      // Enough of a volume's name to tell it from another at a glance; a note is also in the
      // log.
      volume_label_(new ElidedLabel(QStringLiteral("Wxyz…"), this)),
      type_box_(new QComboBox(this)),
      line_edit_(new QLineEdit(this)),
      note_(new ElidedLabel({}, this)),
      exaggeration_box_(new QDoubleSpinBox(this)),
      reset_button_(new QToolButton(this)),
      traces_button_(new QToolButton(this)),
      follow_button_(new QToolButton(this)),
      canvas_(new SectionCanvas(this)) {
    type_box_->addItem(_("Inline"), QStringLiteral("iline"));
    type_box_->addItem(_("Crossline"), QStringLiteral("xline"));
    type_box_->addItem(_("Time"), QStringLiteral("depth"));
    type_box_->setToolTip(_("The kind of section shown"));
    // "Arbitrary line" is added once the view is shown; the box grows to it.
    type_box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    line_edit_->setValidator(new QDoubleValidator(line_edit_));
    line_edit_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    line_edit_->setToolTip(_("Type a line number or time, then Enter (Page Up, Page Down step)"));
    exaggeration_box_->setRange(0.01, 1000.0);
    exaggeration_box_->setDecimals(2);
    exaggeration_box_->setPrefix(_("VE "));
    exaggeration_box_->setToolTip(
        _("Vertical exaggeration: the height of a sample over the width of a trace"));
    reset_button_->setAutoRaise(true);
    reset_button_->setIcon(utils::icon("view_all"));
    reset_button_->setToolTip(_("Show the whole section"));

    follow_button_->setCheckable(true);
    follow_button_->setText(_("Follow"));
    follow_button_->setToolTip(_("The 3D view's section of this volume follows this one"));

    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 2);
    for (QWidget* widget : {static_cast<QWidget*>(volume_label_), static_cast<QWidget*>(type_box_),
                            static_cast<QWidget*>(line_edit_)})
        row->addWidget(widget);
    // The note fills the row's spare room and no more.
    row->addWidget(note_, 1);
    make_traces_menu();
    row->addWidget(traces_button_);
    row->addWidget(follow_button_);
    row->addWidget(exaggeration_box_);
    row->addWidget(reset_button_);
    if (options_button) row->addWidget(options_button);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(canvas_, 1);

    connect(line_edit_, &QLineEdit::returnPressed, this, &SectionView::enter_line);
    connect(type_box_, QOverload<int>::of(&QComboBox::activated), this,
            [this] { emit sig_type_chosen(section_type()); });
    connect(reset_button_, &QToolButton::clicked, canvas_, &SectionCanvas::reset_view);
    connect(exaggeration_box_, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            [this](double value) {
                utils::call_guarded(_("Changing the vertical exaggeration"),
                                    [&] { canvas_->set_exaggeration(value); });
            });
    connect(canvas_, &SectionCanvas::sig_exaggeration_changed, this, [this](double value) {
        const QSignalBlocker quiet(exaggeration_box_);
        exaggeration_box_->setValue(value);
    });
}

void SectionView::set_volume_name(const QString& name) { volume_label_->set_whole_text(name); }

void SectionView::show_section(const QString& type, double position, SectionSamples samples,
                               const SectionAxis& horizontal, const SectionAxis& vertical) {
    set_section_type(type);
    line_edit_->setText(QString::number(position, 'g', 10));
    canvas_->set_section(std::move(samples), horizontal, vertical);
}

void SectionView::set_line(const QString& through) {
    if (type_box_->findData(LINE) < 0) type_box_->addItem(_("Arbitrary line"), LINE);
    set_section_type(LINE);
    type_box_->setEnabled(false);
    // The 3D view has no section along a line to follow it.
    follow_button_->hide();
    line_edit_->setReadOnly(true);
    // The names of its points rather than a line number, as far as the row has room.
    line_edit_->setMaximumWidth(fontMetrics().horizontalAdvance(QString(40, QLatin1Char('0'))));
    line_edit_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    line_edit_->setText(through);
    line_edit_->setCursorPosition(0);
    line_edit_->setToolTip(_("The line runs through %1").arg(through));
}

void SectionView::make_traces_menu() {
    traces_button_->setAutoRaise(true);
    traces_button_->setPopupMode(QToolButton::InstantPopup);
    traces_button_->setToolTip(
        _("Draw the traces in colour, as wiggles, or both (wiggles once traces are at least "
          "%1 pixels apart)")
            .arg(WigglePainter::LEAST_SPACING));
    auto* menu = new QMenu(traces_button_);
    auto* choices = new QActionGroup(menu);
    const std::pair<TraceDisplay, QString> displays[] = {
        {TraceDisplay::density, _("Density")},
        {TraceDisplay::wiggles, _("Wiggles")},
        {TraceDisplay::both, _("Density and wiggles")}};
    for (const auto& [display, text] : displays) {
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setData(static_cast<int>(display));
        choices->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, display = display] { set_trace_display(display); });
    }
    traces_button_->setMenu(menu);
    set_trace_display(TraceDisplay::density);
}

void SectionView::set_trace_display(TraceDisplay display) {
    canvas_->set_trace_display(display);
    for (QAction* action : traces_button_->menu()->actions()) {
        if (action->data().toInt() != static_cast<int>(display)) continue;
        action->setChecked(true);
        traces_button_->setText(action->text());
    }
}

void SectionView::set_section_type(const QString& type) {
    const int index = type_box_->findData(type);
    if (index >= 0) type_box_->setCurrentIndex(index);
}

QString SectionView::section_type() const { return type_box_->currentData().toString(); }

void SectionView::say(const QString& text) { note_->set_whole_text(text); }

QString SectionView::note() const { return note_->whole_text(); }

void SectionView::enter_line() {
    bool ok = false;
    const double value = QLocale().toDouble(line_edit_->text(), &ok);
    if (ok) emit sig_line_entered(value);
}

void SectionView::keyPressEvent(QKeyEvent* event) {
    const int direction = event->key() == Qt::Key_PageDown ? 1
                          : event->key() == Qt::Key_PageUp ? -1
                                                           : 0;
    if (direction == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit sig_step(direction * (event->modifiers() & Qt::ShiftModifier ? SHIFT_STEP : 1));
    event->accept();
}

}  // namespace korvex::widgets
