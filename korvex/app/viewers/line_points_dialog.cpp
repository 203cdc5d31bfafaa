#include "korvex/app/viewers/line_points_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "korvex/app/data/point_set.h"
#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

LinePointsDialog::LinePointsDialog(const data::PointSet& points, const QStringList& volumes,
                                   QWidget* parent)
    : QDialog(parent),
      point_set_(points),
      volume_box_(new QComboBox(this)),
      list_(new QListWidget(this)),
      route_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(_("Arbitrary line through %1").arg(points.name()));
    volume_box_->addItems(volumes);
    for (int i = 0; i < points.table().size(); ++i) {
        auto* item = new QListWidgetItem(points.point_name(i), list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    route_->setWordWrap(true);
    auto* form = new QFormLayout(this);
    form->addRow(_("Volume"), volume_box_);
    form->addRow(
        new QLabel(_("Tick two or more points, in the order the line runs through them:")));
    form->addRow(list_);
    form->addRow(_("Line"), route_);
    form->addRow(buttons_);
    connect(list_, &QListWidget::itemChanged, this, &LinePointsDialog::follow_ticks);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    follow_ticks();
}

void LinePointsDialog::follow_ticks() {
    // Kept in the order of ticking: the list's own order is the file's, not the line's.
    ticked_.erase(
        std::remove_if(ticked_.begin(), ticked_.end(),
                       [this](int row) { return list_->item(row)->checkState() != Qt::Checked; }),
        ticked_.end());
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->checkState() == Qt::Checked &&
            std::find(ticked_.begin(), ticked_.end(), row) == ticked_.end())
            ticked_.push_back(row);
    }
    QStringList names;
    for (const int row : ticked_) names << list_->item(row)->text();
    route_->setText(names.join(QStringLiteral(" \u2192 ")));
    buttons_->button(QDialogButtonBox::Ok)
        ->setEnabled(ticked_.size() >= 2 && volume_box_->count() > 0);
}

std::vector<data::LinePoint> LinePointsDialog::points() const {
    std::vector<data::LinePoint> line;
    for (const int row : ticked_) {
        const auto [x, y] = point_set_.map_position(row);
        line.push_back({point_set_.point_name(row), x, y});
    }
    return line;
}

QString LinePointsDialog::volume() const { return volume_box_->currentText(); }

}  // namespace korvex::app
