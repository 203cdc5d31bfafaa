#include "korvex/app/data/point_set_page.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "korvex/app/data/colormap_box.h"
#include "korvex/app/data/point_set.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/property_table/property_table.h"

namespace korvex::app::data {

using config::_;

namespace {
constexpr double MAX_POINT_SIZE = 50.0;
}

PointSetPage::PointSetPage(QWidget* parent)
    : widgets::AppearancePanel(parent), points_(dynamic_cast<PointSet*>(dob())) {
    if (!points_) throw utils::LookupError("the page's object is not a point set");
}

std::optional<QString> PointSetPage::NAME() const { return _("Point set"); }

std::optional<QString> PointSetPage::ICON() const { return QStringLiteral("point_set"); }

void PointSetPage::setup_page() {
    size_ = new QDoubleSpinBox(this);
    size_->setRange(1.0, MAX_POINT_SIZE);
    size_->setSuffix(_(" px"));
    // A typed size is one change, applied when typing ends.
    size_->setKeyboardTracking(false);
    color_by_ = new QComboBox(this);
    color_by_->addItems(points_->table().number_names());
    colormap_ = new ColormapBox(this);
    prop_table = widgets::property_table::create(this);

    auto* form = new QFormLayout;
    form->addRow(_("Point size"), size_);
    form->addRow(_("Colour by"), color_by_);
    form->addRow(_("Colormap"), colormap_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(prop_table, 1);

    connect(size_, qOverload<double>(&QDoubleSpinBox::valueChanged), this, [this](double size) {
        change(QStringLiteral("Changing the point size"), [&](PointSet& points) {
            utils::apply_change(undo_, points, _("point size of %1").arg(points.name()),
                                &PointSet::point_size, &PointSet::set_point_size, size);
        });
    });
    connect(color_by_, &QComboBox::currentTextChanged, this, [this](const QString& property) {
        change(QStringLiteral("Changing the colouring property"), [&](PointSet& points) {
            utils::apply_change(undo_, points, _("colouring property of %1").arg(points.name()),
                                &PointSet::color_by, &PointSet::set_color_by, property);
        });
    });
    connect(colormap_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        change(QStringLiteral("Changing the colormap"), [&](PointSet& points) {
            utils::apply_change(undo_, points, _("colormap of %1").arg(points.name()),
                                &PointSet::colormap, &PointSet::set_colormap, name);
        });
    });
}

void PointSetPage::change(const QString& what, const std::function<void(PointSet&)>& apply) {
    if (!points_) return;
    utils::call_guarded(what, [&] { apply(*points_); });
    load_style();
}

void PointSetPage::load_style() {
    if (!points_) return;
    {
        const QSignalBlocker quiet(size_);
        size_->setValue(points_->point_size());
    }
    {
        const QSignalBlocker quiet(color_by_);
        color_by_->setCurrentText(points_->color_by());
    }
    colormap_->show_colormap(points_->colormap());
    refresh_prop_table();
}

}  // namespace korvex::app::data
