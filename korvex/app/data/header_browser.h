#pragma once

#include <QDialog>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/header_field_uses.h"
#include "korvex/seismic/segy_file_headers.h"
#include "korvex/seismic/trace_header_sample.h"

class QAbstractItemModel;
class QPlainTextEdit;
class QSpinBox;

namespace korvex::app::data {

class HeaderSummaryModel;
class TraceHeaderModel;

// Shows what a SEG-Y file's headers hold: the textual header (EBCDIC or ASCII) with its
// extended textual headers, the binary header's fields, the trace headers of any range of
// traces, and a summary of each trace header field over traces spread over the file.
class KORVEX_DATA_EXPORT HeaderBrowser final : public QDialog {
    Q_OBJECT

public:
    // What the browser shows of a file, read in one go: the file headers, the sampled trace
    // headers, and what is wrong with the file's size (empty when nothing).
    struct Contents {
        seismic::SegyFileHeaders headers;
        seismic::TraceHeaderSample sample;
        QString fault;

        // Throws utils::ValueError naming the file when its headers cannot be read. A file
        // whose traces do not fit its size is read as far as its whole traces go.
        static Contents read(const QString& path);
    };

    // Reads the file now (see Contents::read).
    HeaderBrowser(const QString& path, HeaderFieldUses uses, QWidget* parent = nullptr);
    HeaderBrowser(const QString& path, const Contents& contents, HeaderFieldUses uses,
                  QWidget* parent = nullptr);
    ~HeaderBrowser() override;

    // Reads the file on a worker, then opens a browser that deletes itself when closed;
    // failures are logged. Nothing opens when `parent` is gone by then.
    static void open(const QString& path, HeaderFieldUses uses, QWidget* parent);

    QString textual_text() const;
    const QAbstractItemModel& binary_model() const { return *binary_; }
    const TraceHeaderModel& trace_model() const { return *traces_; }
    const HeaderSummaryModel& summary_model() const { return *summary_; }
    // Shows traces first .. first + count - 1, counting from 1.
    void show_traces(long long first, long long count);

private:
    QWidget* textual_page();
    QWidget* trace_page();

    seismic::SegyFileHeaders headers_;
    seismic::TraceHeaderSample sample_;
    HeaderFieldUses uses_;
    QAbstractItemModel* binary_;
    HeaderSummaryModel* summary_;
    TraceHeaderModel* traces_;
    QPlainTextEdit* text_ = nullptr;
    QSpinBox* first_trace_ = nullptr;
    QSpinBox* trace_count_ = nullptr;
};

}  // namespace korvex::app::data
