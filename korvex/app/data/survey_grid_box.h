#pragma once

#include <QGroupBox>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/survey_grid.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace korvex::app::data {

// The fields of a survey's map grid, for a survey whose headers cannot place it: where its
// first inline and crossline meet, its bins, the azimuth of its inlines and its
// handedness, under a line saying why the survey needs them. Apply hands the grid on.
class KORVEX_DATA_EXPORT SurveyGridBox final : public QGroupBox {
    Q_OBJECT

public:
    explicit SurveyGridBox(QWidget* parent);

    // Shows the survey's grid as it lies now, and why it needs one.
    void show_grid(const seismic::SurveyGrid& grid, const QString& why, bool set);
    seismic::SurveyGrid grid() const;

    QDoubleSpinBox* field(int index) const { return fields_[index]; }
    QCheckBox* clockwise_box() const { return clockwise_; }
    QPushButton* apply_button() const { return apply_; }
    QLabel* note() const { return note_; }

signals:
    void sig_apply(const korvex::seismic::SurveyGrid& grid);

private:
    // Origin X, origin Y, inline bin, crossline bin, azimuth.
    QDoubleSpinBox* fields_[5];
    QCheckBox* clockwise_;
    QPushButton* apply_;
    QLabel* note_;
};

}  // namespace korvex::app::data
