#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/data/header_browser.h"
#include "korvex/app/data/header_summary_model.h"
#include "korvex/app/data/segy_open_dialog.h"
#include "korvex/app/data/trace_header_model.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::app::data::HeaderBrowser;
using korvex::app::data::HeaderSummaryModel;
using korvex::app::data::TraceHeaderModel;
using korvex::testing::VolumeLayout;

namespace {

// Line numbers at bytes 9 and 21 (inlines 10-13, crosslines 20-24), source X/Y at 73/77.
VolumeLayout odd_bytes_layout() {
    VolumeLayout layout;
    layout.bytes = {9, 21};
    layout.coordinates = {73, 77};
    layout.cdp = [](int il, int xl) { return korvex::seismic::CdpCoordinates{il * 100, xl, 0}; };
    return layout;
}

QVariant cell(const QAbstractItemModel& model, int row, int column, int role = Qt::DisplayRole) {
    return model.data(model.index(row, column), role);
}

int summary_row(int byte) { return TraceHeaderModel::column_of(byte) - 1; }

}  // namespace

class HeaderBrowserTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void shows_the_headers_of_a_file_whose_values_are_known() {
        const QString path = dir_.filePath("odd.sgy");
        korvex::testing::write_volume(path, odd_bytes_layout());
        const HeaderBrowser browser(path, {{9, 21}, korvex::seismic::CoordinateBytes{73, 77}});

        QVERIFY2(browser.textual_text().startsWith("C 1 KORVEX SEG-Y VOLUME\n"),
                 qPrintable(browser.textual_text().left(200)));
        QVERIFY(browser.findChild<QLabel*>("textual_code")->text().startsWith("EBCDIC"));
        const auto& binary = browser.binary_model();
        const auto binary_value = [&](const QString& name) {
            for (int row = 0; row < binary.rowCount(); ++row)
                if (cell(binary, row, 1) == name) return cell(binary, row, 2).toInt();
            return -1;
        };
        QCOMPARE(binary_value("Sample format code"), 5);
        QCOMPARE(binary_value("Samples per trace"), 6);
        QCOMPARE(binary_value("Sample interval"), 4000);

        // Trace 7 is inline 11, crossline 21.
        const TraceHeaderModel& traces = browser.trace_model();
        QCOMPARE(traces.rowCount(), 20);
        QCOMPARE(cell(traces, 6, 0).toInt(), 7);
        QCOMPARE(cell(traces, 6, TraceHeaderModel::column_of(9)).toInt(), 11);
        QCOMPARE(cell(traces, 6, TraceHeaderModel::column_of(21)).toInt(), 21);
        QCOMPARE(cell(traces, 6, TraceHeaderModel::column_of(73)).toInt(), 1100);
        const auto title = [&](int byte) {
            return traces.headerData(TraceHeaderModel::column_of(byte), Qt::Horizontal).toString();
        };
        QCOMPARE(title(9), QString("Field record number\nbyte 9\n[inline]"));
        QCOMPARE(title(77), QString("Source Y\nbyte 77\n[map Y]"));
        QCOMPARE(title(189), QString("Inline number\nbyte 189"));
        QVERIFY(cell(traces, 0, TraceHeaderModel::column_of(9), Qt::BackgroundRole).isValid());
        QVERIFY(!cell(traces, 0, TraceHeaderModel::column_of(189), Qt::BackgroundRole).isValid());

        const HeaderSummaryModel& summary = browser.summary_model();
        QCOMPARE(cell(summary, summary_row(21), HeaderSummaryModel::MINIMUM).toInt(), 20);
        QCOMPARE(cell(summary, summary_row(21), HeaderSummaryModel::MAXIMUM).toInt(), 24);
        QCOMPARE(cell(summary, summary_row(21), HeaderSummaryModel::CONSTANT).toString(),
                 QString("varies"));
        QCOMPARE(cell(summary, summary_row(21), HeaderSummaryModel::USE).toString(),
                 QString("crossline"));
        QCOMPARE(cell(summary, summary_row(115), HeaderSummaryModel::CONSTANT).toString(),
                 QString("constant"));
        QVERIFY(!summary.varies(189));

        const_cast<HeaderBrowser&>(browser).show_traces(19, 5);
        QCOMPARE(traces.rowCount(), 2);
        QCOMPARE(cell(traces, 1, TraceHeaderModel::column_of(9)).toInt(), 13);
    }

    void ascii_and_extended_textual_headers() {
        VolumeLayout layout;
        layout.variant = {2, true, 0, 2, true};
        const QString path = dir_.filePath("ascii.sgy");
        korvex::testing::write_volume(path, layout);
        const HeaderBrowser browser(path, {});
        QVERIFY2(browser.findChild<QLabel*>("textual_code")->text().startsWith("ASCII, 2 extended"),
                 qPrintable(browser.findChild<QLabel*>("textual_code")->text()));
        QCOMPARE(browser.textual_text().count("C 1 KORVEX SEG-Y VOLUME"), 3);
        QVERIFY(browser.textual_text().contains("--- extended textual header 2 ---"));
    }

    // The headers tell why: the browser shows them with the fault, up to the last whole trace.
    void a_file_cut_short() {
        const QString path = dir_.filePath("cut.sgy");
        korvex::testing::write_volume(path, VolumeLayout());
        QVERIFY(QFile(path).resize(QFile(path).size() - 7));
        const HeaderBrowser browser(path, {});
        QVERIFY2(browser.findChild<QLabel*>("fault")->text().contains("truncated"),
                 qPrintable(browser.findChild<QLabel*>("fault")->text()));
        QCOMPARE(browser.trace_model().rowCount(), 19);
        QCOMPARE(
            browser.summary_model()
                .data(browser.summary_model().index(summary_row(189), HeaderSummaryModel::MAXIMUM))
                .toInt(),
            13);
    }

    void the_open_dialog_opens_it() {
        const QString path = dir_.filePath("odd.sgy");
        korvex::testing::write_volume(path, odd_bytes_layout());
        korvex::app::data::SegyOpenDialog dialog(path);
        for (auto* button : dialog.findChildren<QPushButton*>())
            if (button->text() == "Headers...") QTest::mouseClick(button, Qt::LeftButton);
        // Read on a worker: a thousand headers spread over the file wait for the disk each.
        QVERIFY(!dialog.findChild<HeaderBrowser*>());
        QTRY_VERIFY(dialog.findChild<HeaderBrowser*>());
        auto* browser = dialog.findChild<HeaderBrowser*>();
        QVERIFY(browser->isVisible());
        QCOMPARE(browser->trace_model()
                     .headerData(TraceHeaderModel::column_of(189), Qt::Horizontal)
                     .toString(),
                 QString("Inline number\nbyte 189\n[inline]"));
        // The file's CDP X/Y are zero: its map coordinates are the source's, as opening finds.
        QCOMPARE(browser->trace_model()
                     .headerData(TraceHeaderModel::column_of(73), Qt::Horizontal)
                     .toString(),
                 QString("Source X\nbyte 73\n[map X]"));
        browser->close();
    }
};

KORVEX_TEST_MAIN(HeaderBrowserTest)
#include "tst_header_browser.moc"
