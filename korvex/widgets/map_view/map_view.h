#pragma once

#include <QWidget>

#include "korvex/widgets/map_view/map_canvas.h"
#include "korvex/widgets/map_view/map_view_export.h"

class QLabel;
class QToolButton;

namespace korvex::widgets {

// A map view as the host mounts it: a row above the map with a button that draws an
// arbitrary line (and, while it is drawn, how), a reset button and the host's
// `options_button`.
class KORVEX_MAP_VIEW_EXPORT MapView final : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget* options_button = nullptr, QWidget* parent = nullptr);

    MapCanvas& canvas() const { return *canvas_; }
    QToolButton* reset_button() const { return reset_button_; }
    QToolButton* line_button() const { return line_button_; }
    QLabel* hint() const { return hint_; }

private:
    QToolButton* line_button_;
    QLabel* hint_;
    QToolButton* reset_button_;
    MapCanvas* canvas_;
};

}  // namespace korvex::widgets
