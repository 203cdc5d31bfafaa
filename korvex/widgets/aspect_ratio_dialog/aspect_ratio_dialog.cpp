#include "korvex/widgets/aspect_ratio_dialog/aspect_ratio_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::widgets {

using config::_;

namespace {
const QStringList METHODS{"Equal", "Fixed"};
constexpr double SMALLEST_RATIO = 0.001;
constexpr double LARGEST_RATIO = 1000.0;
}  // namespace

AspectRatioDialog::AspectRatioDialog(QWidget* parent)
    : QDialog(parent),
      method_box_(new QComboBox(this)),
      ratio_box_(new QDoubleSpinBox(this)),
      apply_button_(nullptr) {
    setWindowTitle(_("Aspect ratio"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    method_box_->addItems(METHODS);
    ratio_box_->setRange(SMALLEST_RATIO, LARGEST_RATIO);
    ratio_box_->setDecimals(3);
    ratio_box_->setSingleStep(0.1);
    ratio_box_->setValue(1.0);

    auto* fields = new QFormLayout;
    fields->addRow(_("Method"), method_box_);
    fields->addRow(_("Ratio"), ratio_box_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Close, this);
    apply_button_ = buttons->button(QDialogButtonBox::Apply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(method_box_, &QComboBox::currentTextChanged, this, [this] { method_changed(); });
    connect(apply_button_, &QPushButton::clicked, this, [this] {
        utils::call_guarded("Apply aspect ratio", [this] { emit sigApply(method(), ratio()); });
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    method_changed();
}

void AspectRatioDialog::load_state(const utils::OrderedMap<QString, QVariant>& state) {
    if (state.contains("aspect_method")) {
        const int index = method_box_->findText(state.at("aspect_method").toString());
        if (index >= 0) method_box_->setCurrentIndex(index);
    }
    if (state.contains("aspect_ratio")) {
        bool ok = false;
        const double ratio = state.at("aspect_ratio").toDouble(&ok);
        if (ok) ratio_box_->setValue(ratio);
    }
}

QString AspectRatioDialog::method() const { return method_box_->currentText(); }

double AspectRatioDialog::ratio() const { return ratio_box_->value(); }

void AspectRatioDialog::method_changed() {
    // An equal aspect has no ratio to choose.
    ratio_box_->setEnabled(method() == "Fixed");
}

}  // namespace korvex::widgets
