#include "korvex/app/data/survey_grid_box.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "korvex/config/base.h"

namespace korvex::app::data {

using config::_;

namespace {

QDoubleSpinBox* number_box(QWidget* parent, double low, double high, int decimals,
                           const QString& suffix) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    return box;
}

}  // namespace

SurveyGridBox::SurveyGridBox(QWidget* parent) : QGroupBox(_("Map grid"), parent) {
    auto* form = new QFormLayout(this);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    form->addRow(note_);
    // Map coordinates to the centimetre, as the properties print them; bins and azimuth
    // as finely as a fitted grid gives them.
    const QString titles[] = {_("Origin X"), _("Origin Y"), _("Inline bin"), _("Crossline bin"),
                              _("Inline azimuth")};
    fields_[0] = number_box(this, -1e9, 1e9, 2, {});
    fields_[1] = number_box(this, -1e9, 1e9, 2, {});
    fields_[2] = number_box(this, 1e-3, 1e6, 3, {});
    fields_[3] = number_box(this, 1e-3, 1e6, 3, {});
    fields_[4] = number_box(this, -360.0, 360.0, 4, _(" degrees"));
    fields_[0]->setToolTip(_("Map X where the first inline and the first crossline meet"));
    fields_[1]->setToolTip(_("Map Y where the first inline and the first crossline meet"));
    fields_[2]->setToolTip(_("Map distance between neighbouring inlines of the file"));
    fields_[3]->setToolTip(_("Map distance between neighbouring crosslines of the file"));
    fields_[4]->setToolTip(
        _("Compass direction in which inline numbers grow, clockwise from north"));
    for (int i = 0; i < 5; ++i) form->addRow(titles[i], fields_[i]);
    clockwise_ = new QCheckBox(_("Crossline numbers grow clockwise of the inlines"), this);
    form->addRow(_("Handedness"), clockwise_);
    apply_ = new QPushButton(_("Apply grid"), this);
    apply_->setAutoDefault(false);
    form->addRow(apply_);
    connect(apply_, &QPushButton::clicked, this, [this] { emit sig_apply(grid()); });
}

void SurveyGridBox::show_grid(const seismic::SurveyGrid& grid, const QString& why, bool set) {
    const double values[] = {grid.origin[0], grid.origin[1], grid.iline_bin, grid.xline_bin,
                             grid.azimuth};
    for (int i = 0; i < 5; ++i) fields_[i]->setValue(values[i]);
    clockwise_->setChecked(grid.clockwise);
    note_->setText(set ? _("%1: the survey lies on the grid set here.").arg(why)
                       : _("%1: the survey lies at one map unit per line number until a grid "
                           "is set here.")
                             .arg(why));
}

seismic::SurveyGrid SurveyGridBox::grid() const {
    return {{fields_[0]->value(), fields_[1]->value()},
            fields_[2]->value(),
            fields_[3]->value(),
            fields_[4]->value(),
            clockwise_->isChecked()};
}

}  // namespace korvex::app::data
