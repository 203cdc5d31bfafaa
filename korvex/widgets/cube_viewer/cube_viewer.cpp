#include "korvex/widgets/cube_viewer/cube_viewer.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::widgets {

using config::_;
using utils::create_toolbutton;
using utils::icon;
using utils::ToolButtonOptions;

CubeViewer::CubeViewer(host::PanelHost* parent, QWidget* options_button, const QString& name)
    : QWidget(parent ? parent->widget() : nullptr), owner_(parent) {
    base_ = new CanvasWidget(this, name);
    auto* row = new QHBoxLayout;
    for (QToolButton* button : setup_buttons()) {
        button->setIconSize(QSize(ICON_SIZE, ICON_SIZE));
        row->addWidget(button);
    }
    z_scale_box_ = make_z_scale_box();
    row->addWidget(z_scale_box_);
    if (options_button) {
        row->addStretch();
        row->addWidget(options_button, 0, Qt::AlignRight);
    }
    setLayout(utils::create_module_layout(row, base_));
    base_->canvas().show();
}

QList<QToolButton*> CubeViewer::setup_buttons() {
    CanvasWidget* base = base_;
    auto triggered = [this](const char* icon_name, const char* tip, const char* shortcut,
                            std::function<void()> slot) {
        return create_toolbutton(this, ToolButtonOptions()
                                           .icon(icon(icon_name))
                                           .tip(_(tip))
                                           .shortcut(shortcut)
                                           .triggered(std::move(slot)));
    };
    auto toggled = [this](const char* icon_name, const char* tip, const char* shortcut,
                          std::function<void(bool)> slot) {
        return create_toolbutton(this, ToolButtonOptions()
                                           .icon(icon(icon_name))
                                           .tip(_(tip))
                                           .shortcut(shortcut)
                                           .toggled(std::move(slot)));
    };
    pick_btn_ = toggled("pick_mode", "Pick mode", "P",
                        [base](bool checked) { base->toggle_pick_mode(checked); });
    return {
        triggered("view_none", "Hide all", "Ctrl+L", [base] { base->hide_all(); }),
        triggered("view_all", "View all", "Ctrl+A", [base] { base->set_view_all(); }),
        triggered("view_top", "View from top", "Ctrl+T", [base] { base->set_view_top(); }),
        triggered("view_bottom", "View from bottom", "Ctrl+B", [base] { base->set_view_bot(); }),
        triggered("view_north", "View from north", "Ctrl+N", [base] { base->set_view_north(); }),
        triggered("view_south", "View from south", "Ctrl+S", [base] { base->set_view_south(); }),
        triggered("view_west", "View from west", "Ctrl+W", [base] { base->set_view_west(); }),
        triggered("view_east", "View from east", "Ctrl+E", [base] { base->set_view_east(); }),
        toggled("view_orthogonal", "View Persp/Ortho", "O",
                [this](bool checked) { toggle_orthogonal_view(checked); }),
        toggled("view_restrictive", "Restrictive view", "R",
                [this](bool checked) { toggle_restrictive_view(checked); }),
        pick_btn_,
        triggered("bkgd_color", "Background color", "", [base] { base->set_background_color(); }),
        triggered("photo", "Export canvas to picture", "", [base] { base->export_canvas(); }),
        utils::create_toolbutton_help(this, [this] { show_help(); }),
    };
}

QDoubleSpinBox* CubeViewer::make_z_scale_box() {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QStringLiteral("z_scale_box"));
    box->setPrefix(_("Z x "));
    box->setToolTip(_("Vertical scale: times and depths are drawn this many times taller"));
    box->setDecimals(4);
    box->setRange(0.0001, 10000.0);
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setKeyboardTracking(false);
    box->setValue(base_->z_scale());
    connect(box, qOverload<double>(&QDoubleSpinBox::valueChanged), this, [this](double factor) {
        utils::call_guarded(_("Vertical scale"), [&] { base_->set_z_scale(factor); });
    });
    connect(base_, &CanvasWidget::sig_z_scale_changed, box, [box](double factor) {
        const QSignalBlocker blocker(box);
        box->setValue(factor);
    });
    return box;
}

void CubeViewer::toggle_orthogonal_view(bool checked) {
    if (checked) {
        base_->set_view_orthogonal();
    } else {
        base_->set_view_perspective();
    }
}

void CubeViewer::toggle_restrictive_view(bool checked) {
    if (checked) {
        base_->set_view_restrictive_on();
    } else {
        base_->set_view_restrictive_off();
    }
}

void CubeViewer::show_help() {
    QMessageBox::information(this, _("How to use"), CanvasWidget::HELP());
}

}  // namespace korvex::widgets
