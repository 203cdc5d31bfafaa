#pragma once

#include <QPointer>

#include "korvex/app/data/data_export.h"
#include "korvex/widgets/appearance_panel/appearance_panel.h"

class QComboBox;
class QDoubleSpinBox;

namespace korvex::utils {
class UndoService;
}

namespace korvex::app::data {

class ColormapBox;
class PointSet;

// How a point set is drawn: marker size, the property that colours the markers and its
// colormap, and the set's properties.
class KORVEX_DATA_EXPORT PointSetPage final : public widgets::AppearancePanel {
    Q_OBJECT

public:
    explicit PointSetPage(QWidget* parent);

    std::optional<QString> NAME() const override;
    std::optional<QString> ICON() const override;
    void setup_page() override;
    void load_style() override;
    // Where the user's changes of the look are kept for Undo; none by default.
    void set_undo_service(utils::UndoService* undo) { undo_ = undo; }

    QDoubleSpinBox* size_box() const { return size_; }
    QComboBox* color_by_box() const { return color_by_; }
    ColormapBox* colormap_box() const { return colormap_; }

private:
    void change(const QString& what, const std::function<void(PointSet&)>& apply);

    QPointer<PointSet> points_;
    QDoubleSpinBox* size_ = nullptr;
    QComboBox* color_by_ = nullptr;
    ColormapBox* colormap_ = nullptr;
    utils::UndoService* undo_ = nullptr;
};

}  // namespace korvex::app::data
