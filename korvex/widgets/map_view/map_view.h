#pragma once

#include <QWidget>

#include "korvex/widgets/map_view/map_canvas.h"
#include "korvex/widgets/map_view/map_view_export.h"

class QToolButton;

namespace korvex::widgets {

// A map view as the host mounts it: a row with a reset button and the host's
// `options_button` above the map.
class KORVEX_MAP_VIEW_EXPORT MapView final : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget* options_button = nullptr, QWidget* parent = nullptr);

    MapCanvas& canvas() const { return *canvas_; }
    QToolButton* reset_button() const { return reset_button_; }

private:
    QToolButton* reset_button_;
    MapCanvas* canvas_;
};

}  // namespace korvex::widgets
