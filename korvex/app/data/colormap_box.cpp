#include "korvex/app/data/colormap_box.h"

#include <QSignalBlocker>

#include "korvex/scene/colormap.h"

namespace korvex::app::data {

ColormapBox::ColormapBox(QWidget* parent) : QComboBox(parent) { addItems(scene::colormap_names()); }

void ColormapBox::show_colormap(const QString& name) {
    const QSignalBlocker quiet(this);
    setCurrentText(name);
}

}  // namespace korvex::app::data
