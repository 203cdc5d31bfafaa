#include "korvex/app/picks_panel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>
#include <stdexcept>

#include "korvex/config/base.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app {

using config::_;
using utils::format;

namespace {

const scene::Color MARKER_COLOR(1.0, 0.85, 0.0);
constexpr double MARKER_SIZE = 11.0;

QString optional_text(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 2) : QString();
}

// The cells of one row, in COLUMNS order.
QStringList cells(const widgets::PickedSample& pick) {
    return {QString::number(pick.iline),
            QString::number(pick.xline),
            QString::number(pick.time),
            optional_text(pick.map_x),
            optional_text(pick.map_y),
            QString::number(pick.amplitude),
            pick.volume};
}

QString csv_field(const QString& text) {
    if (!text.contains(QRegularExpression(QStringLiteral("[\",\\r\\n]")))) return text;
    return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}

}  // namespace

const QStringList PicksPanel::COLUMNS{"inline", "crossline", "time",  "map_x",
                                      "map_y",  "amplitude", "volume"};

PicksPanel::PicksPanel(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(0, COLUMNS.size(), this)) {
    table_->setObjectName(QStringLiteral("picks_table"));
    table_->setHorizontalHeaderLabels({_("Inline"), _("Crossline"), _("Time (ms)"), _("Map X"),
                                       _("Map Y"), _("Amplitude"), _("Volume")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    // Columns as wide as their titles rather than Qt's 100 pixels, so that the narrow dock
    // shows where a pick is (inline, crossline, time) whole. Not measured again as picks
    // arrive: a long value scrolls.
    table_->resizeColumnsToContents();

    auto* remove = new QPushButton(_("Delete"), this);
    remove->setObjectName(QStringLiteral("delete_picks"));
    remove->setToolTip(_("Delete the selected picks and their markers (Del)"));
    connect(remove, &QPushButton::clicked, this,
            [this] { utils::call_guarded(_("Deleting picks"), [&] { remove_selected(); }); });
    auto* del = new QShortcut(QKeySequence::Delete, table_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this,
            [this] { utils::call_guarded(_("Deleting picks"), [&] { remove_selected(); }); });
    auto* save = new QPushButton(_("Export CSV..."), this);
    save->setObjectName(QStringLiteral("export_picks"));
    connect(save, &QPushButton::clicked, this,
            [this] { utils::call_guarded(_("Exporting picks"), [&] { export_dialog(); }); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(save);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(buttons);
    layout->addWidget(table_);
}

PicksPanel::~PicksPanel() = default;

void PicksPanel::add_pick(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick) {
    auto marker = std::make_shared<scene::PointVisual>(std::vector<scene::Point3>{pick.position},
                                                       MARKER_COLOR, MARKER_SIZE);
    marker->name = _("pick");
    // Picks on the sections behind a marker must still reach the sections.
    marker->set_pickable(false);
    viewer.view().add(*marker);
    entries_.push_back({pick, viewer.name(), marker});
    const int row = table_->rowCount();
    table_->insertRow(row);
    const QStringList texts = cells(pick);
    for (int column = 0; column < texts.size(); ++column)
        table_->setItem(row, column, new QTableWidgetItem(texts[column]));
    table_->scrollToItem(table_->item(row, 0));
}

void PicksPanel::move_to_viewer(const QString& from, widgets::CanvasWidget& to) {
    for (Entry& entry : entries_) {
        if (entry.viewer != from) continue;
        to.view().add(*entry.marker);
        entry.viewer = to.name();
    }
}

void PicksPanel::remove_pick(int row) {
    if (row < 0 || row >= count()) throw std::out_of_range("no pick in that row");
    entries_.erase(entries_.begin() + row);  // the marker leaves its view as it goes
    table_->removeRow(row);
}

void PicksPanel::clear() {
    entries_.clear();
    table_->setRowCount(0);
}

void PicksPanel::remove_selected() {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.insert(index.row());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) remove_pick(*it);
}

void PicksPanel::export_csv(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw std::runtime_error(
            format("{} cannot be written: {}", path, file.errorString()).toStdString());
    QByteArray text = COLUMNS.join(',').toUtf8() + '\n';
    for (const Entry& entry : entries_) {
        QStringList fields;
        for (const QString& cell : cells(entry.pick)) fields << csv_field(cell);
        text += fields.join(',').toUtf8() + '\n';
    }
    file.write(text);
    if (!file.commit())
        throw std::runtime_error(
            format("{} cannot be written: {}", path, file.errorString()).toStdString());
}

void PicksPanel::export_dialog() {
    const QString path =
        QFileDialog::getSaveFileName(this, _("Export picks"), QString(), _("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    try {
        export_csv(path);
        utils::logger().info(format("{} picks written to {}", count(), path));
    } catch (const std::runtime_error& e) {
        utils::logger().error(format("Picks not exported: {}", e.what()));
        QMessageBox::warning(this, _("Export picks"), QString::fromStdString(e.what()));
    }
}

}  // namespace korvex::app
