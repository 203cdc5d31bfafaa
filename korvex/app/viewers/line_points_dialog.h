#pragma once

#include <QDialog>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/data/line_traces.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace korvex::app {

namespace data {
class PointSet;
}

// Chooses an arbitrary line through points of a point set (wells, say), in the order they
// are ticked, and the volume to show along it.
class KORVEX_APP_EXPORT LinePointsDialog final : public QDialog {
    Q_OBJECT

public:
    LinePointsDialog(const data::PointSet& points, const QStringList& volumes,
                     QWidget* parent = nullptr);

    QListWidget* point_list() const { return list_; }
    QComboBox* volume_box() const { return volume_box_; }
    // The ticked points, in the order they were ticked.
    std::vector<data::LinePoint> points() const;
    QString volume() const;

private:
    void follow_ticks();

    const data::PointSet& point_set_;
    QComboBox* volume_box_;
    QListWidget* list_;
    QLabel* route_;
    QDialogButtonBox* buttons_;
    std::vector<int> ticked_;
};

}  // namespace korvex::app
