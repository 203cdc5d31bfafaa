#include "korvex/widgets/cube_viewer/cube_viewer.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/logger.h"
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
        button->setIconSize(QSize(16, 16));
        row->addWidget(button);
    }
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
    // The tips are marked where they are written, in the application's context, so that
    // the catalogue template holds them. A braced list runs its calls in order: the
    // buttons are made, and so take their places among the panel's children and in the
    // Tab order, as they stand in the row.
    return {
        triggered("view_none", QT_TRANSLATE_NOOP("korvex", "Hide all"), "Ctrl+L",
                  [base] { base->hide_all(); }),
        triggered("view_all", QT_TRANSLATE_NOOP("korvex", "View all"), "Ctrl+A",
                  [base] { base->set_view_all(); }),
        triggered("view_top", QT_TRANSLATE_NOOP("korvex", "View from top"), "Ctrl+T",
                  [base] { base->set_view_top(); }),
        triggered("view_bottom", QT_TRANSLATE_NOOP("korvex", "View from bottom"), "Ctrl+B",
                  [base] { base->set_view_bot(); }),
        triggered("view_north", QT_TRANSLATE_NOOP("korvex", "View from north"), "Ctrl+N",
                  [base] { base->set_view_north(); }),
        triggered("view_south", QT_TRANSLATE_NOOP("korvex", "View from south"), "Ctrl+S",
                  [base] { base->set_view_south(); }),
        triggered("view_west", QT_TRANSLATE_NOOP("korvex", "View from west"), "Ctrl+W",
                  [base] { base->set_view_west(); }),
        triggered("view_east", QT_TRANSLATE_NOOP("korvex", "View from east"), "Ctrl+E",
                  [base] { base->set_view_east(); }),
        toggled("view_orthogonal", QT_TRANSLATE_NOOP("korvex", "View Persp/Ortho"), "O",
                [this](bool checked) { toggle_orthogonal_view(checked); }),
        make_restrictive_btn(),
        pick_btn_ = toggled("pick_mode", QT_TRANSLATE_NOOP("korvex", "Pick mode"), "P",
                            [base](bool checked) { base->toggle_pick_mode(checked); }),
        triggered("bkgd_color", QT_TRANSLATE_NOOP("korvex", "Background color"), "",
                  [base] { base->set_background_color(); }),
        triggered("photo", QT_TRANSLATE_NOOP("korvex", "Export canvas to picture"), "",
                  [base] { base->export_canvas(); }),
        utils::create_toolbutton_help(this, [this] { show_help(); }),
    };
}

// Restrictive view has no behaviour yet: the button tells so, in the log and through
// it the status bar, and does not stay pressed for a mode that is not on.
QToolButton* CubeViewer::make_restrictive_btn() {
    const char* const source = QT_TRANSLATE_NOOP("korvex", "Restrictive view");
    const QString tip = _(source);
    auto* button = create_toolbutton(
        this, ToolButtonOptions().icon(icon("view_restrictive")).tip(tip).shortcut("R"));
    button->setCheckable(true);
    connect(button, &QToolButton::toggled, this, [this, button, tip](bool checked) {
        utils::call_guarded(tip, [&] {
            try {
                toggle_restrictive_view(checked);
            } catch (const utils::NotImplementedError&) {
                const QSignalBlocker blocker(button);
                button->setChecked(false);
                utils::logger().info(_("Restrictive view is not implemented"));
            }
        });
    });
    return button;
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
