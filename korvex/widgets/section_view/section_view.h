#pragma once

#include <QString>
#include <QWidget>

#include "korvex/widgets/section_view/section_canvas.h"
#include "korvex/widgets/section_view/section_view_export.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QToolButton;

namespace korvex::widgets {

class ElidedLabel;

// A section view as the host mounts it: a row with the volume's name, the kind of
// section, the line (or time) to type, a note, the vertical exaggeration and a reset
// button, above the section drawn flat. It asks for sections by signals and is given
// them; Page Down steps to the next line and Page Up back (ten with Shift). With "Follow"
// on, the 3D view's section of the volume goes where this one goes. The host's
// `options_button` goes to the right end of the row.
class KORVEX_SECTION_VIEW_EXPORT SectionView final : public QWidget {
    Q_OBJECT

public:
    // How far Page Up and Page Down step with Shift.
    static constexpr int SHIFT_STEP = 10;

    explicit SectionView(QWidget* options_button = nullptr, QWidget* parent = nullptr);

    SectionCanvas& canvas() const { return *canvas_; }

    void set_volume_name(const QString& name);
    // The section shown now: its kind ("iline", "xline" or "depth") and line number or time.
    void show_section(const QString& type, double position, SectionSamples samples,
                      const SectionAxis& horizontal, const SectionAxis& vertical);
    // Makes this a view along an arbitrary line through the points named in `through`, named
    // so from the start rather than once its traces are read: it has no line to type or step,
    // and its kind stays. Its traces come to the canvas.
    void set_line(const QString& through);
    // The kind chosen, before its first section arrives.
    void set_section_type(const QString& type);
    QString section_type() const;
    // A short text beside the line, as where a typed line was not in the volume.
    void say(const QString& text);
    QString note() const;

    QComboBox* type_box() const { return type_box_; }
    QLineEdit* line_edit() const { return line_edit_; }
    QDoubleSpinBox* exaggeration_box() const { return exaggeration_box_; }
    QToolButton* reset_button() const { return reset_button_; }
    // Density, wiggles or both, from its menu.
    QToolButton* traces_button() const { return traces_button_; }
    void set_trace_display(TraceDisplay display);
    QToolButton* follow_button() const { return follow_button_; }

signals:
    // Enter in the line box: the line or time typed.
    void sig_line_entered(double value);
    // Lines to step, forward (positive) or back.
    void sig_step(int lines);
    // A kind of section chosen: "iline", "xline" or "depth".
    void sig_type_chosen(const QString& type);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void enter_line();
    void make_traces_menu();

    ElidedLabel* volume_label_;
    QComboBox* type_box_;
    QLineEdit* line_edit_;
    ElidedLabel* note_;
    QDoubleSpinBox* exaggeration_box_;
    QToolButton* reset_button_;
    QToolButton* traces_button_;
    QToolButton* follow_button_;
    SectionCanvas* canvas_;
};

}  // namespace korvex::widgets
