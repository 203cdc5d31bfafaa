#include "korvex/app/data/header_browser.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent>
#include <climits>
#include <memory>

#include "korvex/app/data/header_summary_model.h"
#include "korvex/app/data/trace_header_model.h"
#include "korvex/seismic/segy_fields.h"
#include "korvex/seismic/textual_header.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {

constexpr int SHOWN_TRACES = 100;

QAbstractItemModel* binary_header_model(const seismic::SegyFileHeaders& headers, QObject* parent) {
    auto* model = new QStandardItemModel(0, 3, parent);
    model->setHorizontalHeaderLabels({_("Byte"), _("Field"), _("Value")});
    for (const seismic::SegyField& field : seismic::binary_header_fields()) {
        const char* block = headers.headers.constData();
        const QVariant value =
            field.real ? QVariant(headers.layout.real(block, field.byte))
                       : QVariant(headers.layout.integer(block, field.byte, field.size));
        QList<QStandardItem*> row{new QStandardItem, new QStandardItem(_(field.name)),
                                  new QStandardItem};
        row[0]->setData(field.byte, Qt::DisplayRole);
        row[2]->setData(value, Qt::DisplayRole);
        for (QStandardItem* item : row) item->setEditable(false);
        model->appendRow(row);
    }
    return model;
}

HeaderFieldUses with_coordinates(HeaderFieldUses uses, const seismic::TraceHeaderSample& sample) {
    if (!uses.coordinates)
        uses.coordinates = seismic::CoordinateBytes::find(
            [&sample](std::size_t n, int byte) { return sample.field(n, byte); }, sample.size());
    return uses;
}

// Why the file cannot be opened as a volume, empty when it can as far as its size goes: the
// browser shows the headers of a file cut short all the same, for they tell why.
QString size_fault(const QString& path) {
    try {
        seismic::SegyLayout::read(path);
        return {};
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
}

QTableView* table(QAbstractItemModel* model, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->resizeColumnsToContents();
    return view;
}

}  // namespace

HeaderBrowser::Contents HeaderBrowser::Contents::read(const QString& path) {
    return {seismic::SegyFileHeaders::read(path),
            seismic::TraceHeaderSample::read(path, seismic::TraceHeaderSample::DEFAULT_TRACES,
                                             seismic::SegyLayout::Fit::whole_traces),
            size_fault(path)};
}

HeaderBrowser::HeaderBrowser(const QString& path, HeaderFieldUses uses, QWidget* parent)
    : HeaderBrowser(path, Contents::read(path), uses, parent) {}

HeaderBrowser::HeaderBrowser(const QString& path, const Contents& contents, HeaderFieldUses uses,
                             QWidget* parent)
    : QDialog(parent),
      headers_(contents.headers),
      sample_(contents.sample),
      uses_(with_coordinates(uses, sample_)),
      binary_(binary_header_model(headers_, this)),
      summary_(new HeaderSummaryModel(sample_, uses_, this)),
      traces_(new TraceHeaderModel(path, uses_, *summary_, this)) {
    setWindowTitle(_("SEG-Y headers: %1").arg(QFileInfo(path).fileName()));
    resize(900, 600);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(textual_page(), _("Textual header"));
    tabs->addTab(table(binary_, this), _("Binary header"));
    tabs->addTab(trace_page(), _("Trace headers"));
    auto* summary = new QWidget(this);
    auto* summary_layout = new QVBoxLayout(summary);
    summary_layout->addWidget(new QLabel(
        _("Each field over %1 traces spread over the file's %2; fields that vary are shaded.")
            .arg(sample_.size())
            .arg(headers_.layout.traces),
        summary));
    summary_layout->addWidget(table(summary_, summary));
    tabs->addTab(summary, _("Field summary"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    if (!contents.fault.isEmpty()) {
        auto* label = new QLabel(contents.fault, this);
        label->setObjectName(QStringLiteral("fault"));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

HeaderBrowser::~HeaderBrowser() = default;

void HeaderBrowser::open(const QString& path, HeaderFieldUses uses, QWidget* parent) {
    // A thousand headers spread over the file: a wait for the disk, or the network, each.
    using Read = std::pair<std::shared_ptr<const Contents>, QString>;
    auto* watcher = new QFutureWatcher<Read>(parent);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [=] {
        watcher->deleteLater();
        const Read read = watcher->result();
        utils::call_guarded(_("Reading the headers of %1").arg(path), [&] {
            if (!read.first) throw utils::ValueError(read.second.toStdString());
            auto* browser = new HeaderBrowser(path, *read.first, uses, parent);
            browser->setAttribute(Qt::WA_DeleteOnClose);
            browser->show();
        });
    });
    watcher->setFuture(QtConcurrent::run([path]() -> Read {
        try {
            return {std::make_shared<const Contents>(Contents::read(path)), {}};
        } catch (const std::exception& error) {
            return {nullptr, QString::fromStdString(error.what())};
        }
    }));
}

QWidget* HeaderBrowser::textual_page() {
    auto* page = new QWidget(this);
    text_ = new QPlainTextEdit(page);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList parts{seismic::textual_header::text(headers_.textual)};
    for (std::size_t n = 0; n < headers_.extended_textual.size(); ++n)
        parts << _("--- extended textual header %1 ---").arg(n + 1)
              << seismic::textual_header::text(headers_.extended_textual[n]);
    text_->setPlainText(parts.join(QLatin1Char('\n')));
    auto* layout = new QVBoxLayout(page);
    const QString code = seismic::textual_header::is_ascii(headers_.textual)
                             ? _("ASCII, %1 extended textual headers")
                             : _("EBCDIC, %1 extended textual headers");
    auto* code_label = new QLabel(code.arg(headers_.extended_textual.size()), page);
    code_label->setObjectName(QStringLiteral("textual_code"));
    layout->addWidget(code_label);
    layout->addWidget(text_);
    return page;
}

QWidget* HeaderBrowser::trace_page() {
    auto* page = new QWidget(this);
    first_trace_ = new QSpinBox(page);
    first_trace_->setRange(1, int(std::min<long long>(headers_.layout.traces, INT_MAX)));
    trace_count_ = new QSpinBox(page);
    trace_count_->setRange(1, 100000);
    trace_count_->setValue(SHOWN_TRACES);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(_("First trace"), page));
    range->addWidget(first_trace_);
    range->addWidget(new QLabel(_("Traces"), page));
    range->addWidget(trace_count_);
    range->addWidget(new QLabel(_("of %1").arg(headers_.layout.traces), page));
    range->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(range);
    traces_->show_traces(1, SHOWN_TRACES);
    QTableView* view = table(traces_, page);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    layout->addWidget(view);
    for (QSpinBox* box : {first_trace_, trace_count_}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
            utils::call_guarded(_("Reading trace headers"), [this] {
                traces_->show_traces(first_trace_->value(), trace_count_->value());
            });
        });
    }
    return page;
}

QString HeaderBrowser::textual_text() const { return text_->toPlainText(); }

void HeaderBrowser::show_traces(long long first, long long count) {
    const QSignalBlocker first_blocker(first_trace_);
    const QSignalBlocker count_blocker(trace_count_);
    first_trace_->setValue(int(first));
    trace_count_->setValue(int(count));
    traces_->show_traces(first, count);
}

}  // namespace korvex::app::data
