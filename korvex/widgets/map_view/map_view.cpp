#include "korvex/widgets/map_view/map_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/icon_manager.h"

namespace korvex::widgets {

using config::_;

MapView::MapView(QWidget* options_button, QWidget* parent)
    : QWidget(parent),
      line_button_(new QToolButton(this)),
      hint_(new QLabel(this)),
      reset_button_(new QToolButton(this)),
      canvas_(new MapCanvas(this)) {
    const QString gesture =
        _("Click the line's points on the map; double-click or Enter ends it, Backspace takes "
          "the last point back, Escape gives it up.");
    line_button_->setAutoRaise(true);
    line_button_->setCheckable(true);
    line_button_->setIcon(utils::icon("draw_line"));
    line_button_->setToolTip(_("Draw an arbitrary line and open it in a section view.\n") +
                             gesture);
    hint_->setText(_("Click points; double-click or Enter: done, Backspace: back, Escape: cancel"));
    hint_->setToolTip(gesture);
    // A narrow map cuts the hint short rather than growing for it.
    hint_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    hint_->hide();
    reset_button_->setAutoRaise(true);
    reset_button_->setIcon(utils::icon("view_all"));
    reset_button_->setToolTip(_("Show the whole map"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(line_button_);
    row->addWidget(hint_, 1);
    row->addStretch();
    row->addWidget(reset_button_);
    if (options_button) row->addWidget(options_button);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(canvas_, 1);
    connect(reset_button_, &QToolButton::clicked, canvas_, &MapCanvas::reset_view);
    connect(line_button_, &QToolButton::toggled, canvas_, [this](bool on) {
        if (on)
            canvas_->start_line();
        else
            canvas_->cancel_line();
    });
    connect(canvas_, &MapCanvas::sig_drawing_line, this, [this](bool on) {
        line_button_->setChecked(on);
        hint_->setVisible(on);
    });
}

}  // namespace korvex::widgets
