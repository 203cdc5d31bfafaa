#include "korvex/widgets/map_view/map_view.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/utils/icon_manager.h"

namespace korvex::widgets {

using config::_;

MapView::MapView(QWidget* options_button, QWidget* parent)
    : QWidget(parent), reset_button_(new QToolButton(this)), canvas_(new MapCanvas(this)) {
    reset_button_->setAutoRaise(true);
    reset_button_->setIcon(utils::icon("view_all"));
    reset_button_->setToolTip(_("Show the whole map"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 2);
    row->addStretch();
    row->addWidget(reset_button_);
    if (options_button) row->addWidget(options_button);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(row);
    column->addWidget(canvas_, 1);
    connect(reset_button_, &QToolButton::clicked, canvas_, &MapCanvas::reset_view);
}

}  // namespace korvex::widgets
