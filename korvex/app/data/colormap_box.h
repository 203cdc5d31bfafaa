#pragma once

#include <QComboBox>

namespace korvex::app::data {

// A choice among the scene's colormaps.
class ColormapBox final : public QComboBox {
    Q_OBJECT

public:
    explicit ColormapBox(QWidget* parent = nullptr);
    // Selects `name` without announcing it.
    void show_colormap(const QString& name);
};

}  // namespace korvex::app::data
