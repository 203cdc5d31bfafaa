#pragma once

#include <QDialog>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/segy_volume_file.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace korvex::app::data {

// Asks where a SEG-Y file keeps its line numbers: the trace-header bytes of the inline
// and crossline numbers (189 and 193 by default). What the file gives with the chosen
// bytes, or what is wrong with them, shows as they change, read on a worker: a survey with
// holes places every trace to say it. When the usual bytes give no grid, the dialog
// proposes the pair a scan of the headers found, for the user to take.
class KORVEX_DATA_EXPORT SegyOpenDialog final : public QDialog {
    Q_OBJECT

public:
    SegyOpenDialog(const QString& path, QWidget* parent = nullptr);

    seismic::SegyHeaderBytes header_bytes() const;
    // The text under the byte fields: the volume's size, or the file's fault; while the
    // headers are read, that they are.
    QString preview_text() const;
    // The proposed bytes and their grid, or what the scan tried; empty when the usual
    // bytes give a grid.
    QString proposal_text() const;
    // Takes the proposed bytes into the byte fields.
    void use_proposal();

    // Shows the dialog; absent when cancelled.
    static std::optional<seismic::SegyHeaderBytes> ask(const QString& path,
                                                       QWidget* parent = nullptr);

private:
    // What the chosen bytes give, and at opening what a scan proposes when they give no grid.
    struct Preview {
        QString text;
        bool ok = false;
        QString proposal;
        std::optional<seismic::SegyHeaderBytes> proposed;
    };
    static Preview preview(const QString& path, seismic::SegyHeaderBytes bytes, bool propose);
    void update_preview();
    void show_preview(const Preview& preview, bool first);

    QString path_;
    QSpinBox* iline_byte_;
    QSpinBox* xline_byte_;
    QLabel* preview_;
    QLabel* proposal_;
    QPushButton* use_proposal_;
    std::optional<seismic::SegyHeaderBytes> proposed_;
    // Previews asked for so far: only the newest is shown.
    int previews_ = 0;
};

}  // namespace korvex::app::data
