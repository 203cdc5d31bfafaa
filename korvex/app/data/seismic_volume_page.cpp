#include "korvex/app/data/seismic_volume_page.h"

#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

#include "korvex/app/data/amplitude_histogram_view.h"
#include "korvex/app/data/colormap_box.h"
#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/survey_grid_box.h"
#include "korvex/app/data/typed_line.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/property_table/property_table.h"

namespace korvex::app::data {

using config::_;
using seismic::SectionKind;

namespace {

constexpr int OPACITY_STEPS = 100;

QString position_text(SectionKind kind, double value, double sample_interval) {
    return kind == SectionKind::depth ? time_text(value, sample_interval) : exact_text(value);
}

}  // namespace

SeismicVolumePage::SeismicVolumePage(QWidget* parent)
    : widgets::AppearancePanel(parent), volume_(dynamic_cast<SeismicVolume*>(dob())) {
    if (!volume_) throw utils::LookupError("the page's object is not a seismic volume");
}

std::optional<QString> SeismicVolumePage::NAME() const { return _("Seismic volume"); }

std::optional<QString> SeismicVolumePage::ICON() const { return QStringLiteral("seismic_volume"); }

void SeismicVolumePage::setup_page() {
    prop_table = widgets::property_table::create(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(make_sections_group());
    layout->addWidget(make_colours_group());
    if (!volume_->map_note().isEmpty()) {
        grid_box_ = new SurveyGridBox(this);
        layout->addWidget(grid_box_);
        show_grid();
        connect(grid_box_, &SurveyGridBox::sig_apply, this, &SeismicVolumePage::apply_grid);
        connect(volume_, &SeismicVolume::sig_placed, this, [this] {
            utils::call_guarded(QStringLiteral("Showing the volume's grid"), [this] {
                show_grid();
                refresh_prop_table();
            });
        });
    }
    layout->addWidget(prop_table, 1);

    connect(volume_, &SeismicVolume::sig_section_moved, this,
            [this](SectionKind kind, int) { show_section(kind); });
    connect(volume_, &SeismicVolume::sig_style_changed, this, [this] {
        utils::call_guarded(QStringLiteral("Showing the volume's style"), [this] { load_style(); });
    });
    connect(volume_, &SeismicVolume::sig_geometry_changed, this, [this] {
        utils::call_guarded(QStringLiteral("Showing the volume's traces placed anew"), [this] {
            show_traces();
            load_style();
        });
    });
    connect(volume_, &SeismicVolume::sig_stats_changed, this, [this] {
        utils::call_guarded(QStringLiteral("Showing the volume's amplitudes"),
                            [this] { load_style(); });
    });
}

QWidget* SeismicVolumePage::make_sections_group() {
    auto* group = new QGroupBox(_("Sections"), this);
    auto* form = new QFormLayout(group);
    // Holes are drawn as nothing: how much of the grid that is, at a glance.
    trace_count_ = new QLabel(group);
    form->addRow(_("Traces"), trace_count_);
    for (const SectionKind kind : seismic::SECTION_KINDS) {
        auto* slider = new QSlider(Qt::Horizontal, group);
        auto* position = new QLineEdit(group);
        position->setValidator(new QDoubleValidator(position));
        position->setMaximumWidth(position->fontMetrics().horizontalAdvance("0000000000"));
        position->setToolTip(kind == SectionKind::depth ? _("Type a time in ms, then Enter")
                                                        : _("Type a line number, then Enter"));
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(position);
        form->addRow(seismic::section_title(kind), row);
        sliders_[kind] = slider;
        positions_[kind] = position;
        connect(slider, &QSlider::valueChanged, this, [this, kind](int index) {
            note_->clear();
            change(QStringLiteral("Moving the %1 section").arg(seismic::section_type(kind)),
                   [&](SeismicVolume& volume) { volume.set_section_index(kind, index); });
        });
        connect(position, &QLineEdit::returnPressed, this, [this, kind, position] {
            bool ok = false;
            const double typed = QLocale().toDouble(position->text(), &ok);
            if (!ok) return;
            change(QStringLiteral("Going to a line"), [&](SeismicVolume& volume) {
                const TypedLine line = TypedLine::nearest(volume, kind, typed);
                note_->setText(line.note);
                volume.set_section_index(kind, line.index);
            });
        });
    }
    note_ = new QLabel(group);
    note_->setWordWrap(true);
    form->addRow(note_);
    show_traces();
    return group;
}

void SeismicVolumePage::show_traces() {
    const seismic::SegyGeometry& g = volume_->file().geometry();
    trace_count_->setText(
        _("%1 of %2 positions hold a trace").arg(g.live_trace_count()).arg(g.position_count()));
    for (const auto& [kind, slider] : sliders_) {
        const QSignalBlocker quiet(slider);
        slider->setRange(0, volume_->frame().count(kind) - 1);
    }
}

QWidget* SeismicVolumePage::make_colours_group() {
    auto* group = new QGroupBox(_("Colours"), this);
    auto* form = new QFormLayout(group);
    colormap_ = new ColormapBox(group);
    form->addRow(_("Colormap"), colormap_);

    clip_ = new QDoubleSpinBox(group);
    clip_->setDecimals(4);
    clip_->setRange(1e-4, 1e9);
    clip_->setSingleStep(volume_->stats().clip / 10.0);
    clip_->setToolTip(
        _("Amplitudes beyond plus or minus the clip take the colormap's end colours"));
    // The clip applies when typing ends (Enter or leaving the box), and Enter there must
    // not press this button instead.
    clip_->setKeyboardTracking(false);
    auto* reset = new QPushButton(_("From statistics"), group);
    reset->setAutoDefault(false);
    reset->setDefault(false);
    reset->setToolTip(_("The clip taken from the volume's amplitude statistics"));
    auto* clip_row = new QHBoxLayout;
    clip_row->addWidget(clip_, 1);
    clip_row->addWidget(reset);
    form->addRow(_("Clip"), clip_row);

    opacity_ = new QSlider(Qt::Horizontal, group);
    opacity_->setRange(0, OPACITY_STEPS);
    // A drag is one change, to undo and to note in the journal, applied when it ends.
    opacity_->setTracking(false);
    form->addRow(_("Opacity"), opacity_);
    histogram_ = new AmplitudeHistogramView(group);
    form->addRow(_("Amplitudes"), histogram_);

    connect(colormap_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        change(QStringLiteral("Changing the colormap"), [&](SeismicVolume& volume) {
            utils::apply_change(undo_, volume, _("colormap of %1").arg(volume.name()),
                                &SeismicVolume::colormap, &SeismicVolume::set_colormap, name);
        });
    });
    connect(clip_, qOverload<double>(&QDoubleSpinBox::valueChanged), this, [this](double clip) {
        change(QStringLiteral("Changing the clip"), [&](SeismicVolume& volume) {
            utils::apply_change(undo_, volume, _("clip of %1").arg(volume.name()),
                                &SeismicVolume::clip, &SeismicVolume::set_clip, clip);
        });
    });
    connect(reset, &QPushButton::clicked, this, [this] {
        change(QStringLiteral("Resetting the clip"), [this](SeismicVolume& volume) {
            utils::apply_change(undo_, volume, _("clip of %1").arg(volume.name()),
                                &SeismicVolume::clip, &SeismicVolume::set_clip,
                                double(volume.stats().clip));
        });
    });
    connect(opacity_, &QSlider::valueChanged, this, [this](int steps) {
        change(QStringLiteral("Changing the opacity"), [&](SeismicVolume& volume) {
            utils::apply_change(undo_, volume, _("opacity of %1").arg(volume.name()),
                                &SeismicVolume::opacity, &SeismicVolume::set_opacity,
                                double(steps) / OPACITY_STEPS);
        });
    });
    return group;
}

void SeismicVolumePage::change(const QString& what,
                               const std::function<void(SeismicVolume&)>& apply) {
    if (!volume_) return;
    utils::call_guarded(what, [&] { apply(*volume_); });
    load_style();
}

void SeismicVolumePage::apply_grid(const seismic::SurveyGrid& grid) {
    change(QStringLiteral("Setting the map grid"), [&](SeismicVolume& volume) {
        const auto before = volume.grid();
        volume.set_grid(grid);
        if (!undo_ || before == volume.grid()) return;
        const QPointer<SeismicVolume> target(&volume);
        const auto put = [target](const std::optional<seismic::SurveyGrid>& kept) {
            if (!target) throw std::runtime_error("its object is closed");
            target->set_grid(kept);
        };
        // Setting the grid has its line in the journal already.
        undo_->record(
            _("map grid of %1").arg(volume.name()), QString(), [put, before] { put(before); },
            [put, grid] { put(grid); });
    });
}

void SeismicVolumePage::show_grid() {
    if (volume_)
        grid_box_->show_grid(volume_->geometry().grid(), volume_->map_note(),
                             volume_->grid().has_value());
}

void SeismicVolumePage::show_section(SectionKind kind) {
    if (!volume_) return;
    const int index = volume_->section_index(kind);
    const QSignalBlocker quiet(sliders_.at(kind));
    sliders_.at(kind)->setValue(index);
    const SurveyFrame& frame = volume_->frame();
    positions_.at(kind)->setText(
        position_text(kind, frame.position_value(kind, index), frame.sample_interval()));
}

void SeismicVolumePage::load_style() {
    if (!volume_) return;
    colormap_->show_colormap(volume_->colormap());
    {
        const QSignalBlocker quiet(clip_);
        clip_->setValue(volume_->clip());
    }
    {
        const QSignalBlocker quiet(opacity_);
        opacity_->setValue(int(std::lround(volume_->opacity() * OPACITY_STEPS)));
    }
    for (const SectionKind kind : seismic::SECTION_KINDS) show_section(kind);
    histogram_->set_counts(volume_->stats().histogram);
    refresh_prop_table();
}

}  // namespace korvex::app::data
