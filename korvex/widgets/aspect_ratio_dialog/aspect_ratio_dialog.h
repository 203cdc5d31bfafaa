#pragma once

#include <QDialog>
#include <QString>
#include <QVariant>

#include "korvex/utils/ordered_map.h"
#include "korvex/widgets/aspect_ratio_dialog/aspect_ratio_dialog_export.h"

class QComboBox;
class QDoubleSpinBox;
class QPushButton;

namespace korvex::widgets {

// Lets the user choose how a view's aspect is set: "Equal" (ratio 1) or "Fixed" with
// a ratio. Non-modal; it closes (and deletes itself) with its Close button.
class KORVEX_ASPECT_RATIO_DIALOG_EXPORT AspectRatioDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AspectRatioDialog(QWidget* parent = nullptr);

    // Shows the method and ratio found under "aspect_method" and "aspect_ratio" of a
    // view state; missing or unusable values leave the fields as they are.
    void load_state(const utils::OrderedMap<QString, QVariant>& state);

    QString method() const;
    double ratio() const;

signals:
    void sigApply(const QString& method, double ratio);

private:
    void method_changed();

    QComboBox* method_box_;
    QDoubleSpinBox* ratio_box_;
    QPushButton* apply_button_;
};

}  // namespace korvex::widgets
