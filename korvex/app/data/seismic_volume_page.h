#pragma once

#include <QPointer>
#include <map>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section_kind.h"
#include "korvex/seismic/survey_grid.h"
#include "korvex/widgets/appearance_panel/appearance_panel.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace korvex::utils {
class UndoService;
}

namespace korvex::app::data {

class AmplitudeHistogramView;
class ColormapBox;
class SeismicVolume;
class SurveyGridBox;

// How a seismic volume is drawn: where its three sections lie, their colormap, clip
// and opacity, the map grid of a survey whose headers cannot place it, and the volume's
// properties. The page follows the volume when it
// changes by other means (keys on a picked section, a project being opened).
class KORVEX_DATA_EXPORT SeismicVolumePage final : public widgets::AppearancePanel {
    Q_OBJECT

public:
    explicit SeismicVolumePage(QWidget* parent);

    std::optional<QString> NAME() const override;
    std::optional<QString> ICON() const override;
    void setup_page() override;
    void load_style() override;
    // Where the user's changes of the look are kept for Undo; none by default.
    void set_undo_service(utils::UndoService* undo) { undo_ = undo; }

    QSlider* section_slider(seismic::SectionKind kind) const { return sliders_.at(kind); }
    // The line number or time of the section, to type another in (the nearest is taken).
    QLineEdit* position_edit(seismic::SectionKind kind) const { return positions_.at(kind); }
    // How many positions of the survey's grid hold a trace.
    QLabel* trace_count() const { return trace_count_; }
    // Which line was shown instead of one typed.
    QLabel* note() const { return note_; }
    ColormapBox* colormap_box() const { return colormap_; }
    QDoubleSpinBox* clip_box() const { return clip_; }
    QSlider* opacity_slider() const { return opacity_; }
    AmplitudeHistogramView* histogram() const { return histogram_; }
    // None for a survey its CDP coordinates place.
    SurveyGridBox* grid_box() const { return grid_box_; }

private:
    QWidget* make_sections_group();
    QWidget* make_colours_group();
    void show_section(seismic::SectionKind kind);
    // How many positions hold a trace, and the lines the sliders run over.
    void show_traces();
    void show_grid();
    void apply_grid(const seismic::SurveyGrid& grid);
    // Runs a change of the volume; whatever fails is logged and the page shows the
    // volume as it really is afterwards.
    void change(const QString& what, const std::function<void(SeismicVolume&)>& apply);

    QPointer<SeismicVolume> volume_;
    std::map<seismic::SectionKind, QSlider*> sliders_;
    std::map<seismic::SectionKind, QLineEdit*> positions_;
    QLabel* trace_count_ = nullptr;
    QLabel* note_ = nullptr;
    ColormapBox* colormap_ = nullptr;
    utils::UndoService* undo_ = nullptr;
    QDoubleSpinBox* clip_ = nullptr;
    QSlider* opacity_ = nullptr;
    AmplitudeHistogramView* histogram_ = nullptr;
    SurveyGridBox* grid_box_ = nullptr;
};

}  // namespace korvex::app::data
