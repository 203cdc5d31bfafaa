#include "korvex/app/picks/picks_panel.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "korvex/app/picks/pick_table_model.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app {

using config::_;
using utils::format;

namespace {

QString csv_field(const QString& text) {
    if (!text.contains(QRegularExpression(QStringLiteral("[\",\\r\\n]")))) return text;
    return '"' + QString(text).replace('"', QStringLiteral("\"\"")) + '"';
}

// Rows enough to learn how wide a column's texts are: picks of one survey print alike.
constexpr int MEASURED_ROWS = 1000;

}  // namespace

const QStringList PicksPanel::COLUMNS{"inline", "crossline", "time_ms", "map_x",
                                      "map_y",  "amplitude", "volume"};

PicksPanel::PicksPanel(QWidget* parent)
    : QWidget(parent), model_(new PickTableModel(this)), table_(new QTableView(this)) {
    table_->setObjectName(QStringLiteral("picks_table"));
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setVisible(false);
    fit_columns(0);

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

int PicksPanel::count() const { return model_->rowCount(); }

const widgets::PickedSample& PicksPanel::pick(int row) const { return model_->rows().at(row).pick; }

const QString& PicksPanel::viewer_name(int row) const { return model_->rows().at(row).viewer; }

void PicksPanel::add_pick(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick) {
    insert_pick(count(), viewer, pick);
}

void PicksPanel::insert_pick(int row, widgets::CanvasWidget& viewer,
                             const widgets::PickedSample& pick) {
    if (row < 0 || row > count()) throw std::out_of_range("no room for a pick in that row");
    markers_.insert(row, viewer, pick.position);
    model_->insert(row, {pick, viewer.name()});
    fit_columns(row);
    table_->scrollTo(model_->index(row, 0));
}

void PicksPanel::replace_picks(const std::vector<PlacedPick>& picks) {
    std::vector<PickTableModel::Row> rows;
    std::vector<std::pair<widgets::CanvasWidget*, scene::Point3>> markers;
    rows.reserve(picks.size());
    markers.reserve(picks.size());
    for (const PlacedPick& placed : picks) {
        rows.push_back({placed.pick, placed.viewer->name()});
        markers.emplace_back(placed.viewer, placed.pick.position);
    }
    markers_.replace(markers);
    model_->replace(std::move(rows));
    fit_columns(0);
}

void PicksPanel::move_to_viewer(const QString& from, widgets::CanvasWidget& to) {
    model_->move_to_viewer(from, to.name());
    markers_.move_to_viewer(from, to);
}

void PicksPanel::remove_pick(int row) {
    if (row < 0 || row >= count()) throw std::out_of_range("no pick in that row");
    model_->remove({row});
    markers_.remove(row);
}

void PicksPanel::clear() {
    markers_.clear();
    model_->replace({});
    fit_columns(0);
}

void PicksPanel::remove_selected() {
    std::set<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<Removed> removed;
    for (const int row : rows) removed.push_back({row, viewer_name(row), pick(row)});
    model_->remove(rows);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) markers_.remove(*row);
    if (!removed.empty()) emit sig_deleted(removed);
}

void PicksPanel::fit_columns(int first) {
    QHeaderView& header = *table_->horizontalHeader();
    const int step = std::max(1, (count() - first) / MEASURED_ROWS);
    for (int column = 0; column < model_->columnCount(); ++column) {
        int width = first == 0 ? header.sectionSizeHint(column) : header.sectionSize(column);
        for (int row = first; row < count(); row += step) {
            // One pixel for the grid line, as the table's own measure has it.
            const QModelIndex index = model_->index(row, column);
            width = std::max(width, table_->sizeHintForIndex(index).width() + 1);
        }
        header.resizeSection(column, width);
    }
}

void PicksPanel::export_csv(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw std::runtime_error(
            format("{} cannot be written: {}", path, file.errorString()).toStdString());
    QByteArray text = COLUMNS.join(',').toUtf8() + '\n';
    for (const PickTableModel::Row& row : model_->rows()) {
        QStringList fields;
        for (int column = 0; column < COLUMNS.size(); ++column)
            fields << csv_field(PickTableModel::cell(row.pick, column));
        text += fields.join(',').toUtf8() + '\n';
    }
    file.write(text);
    if (!file.commit())
        throw std::runtime_error(
            format("{} cannot be written: {}", path, file.errorString()).toStdString());
}

void PicksPanel::export_dialog() {
    QFileDialog dialog(this, _("Export picks"), QString(), _("CSV files (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed bare still gives a file that opens as CSV.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QString path = dialog.selectedFiles().value(0);
    try {
        export_csv(path);
        utils::logger().info(format("{} picks written to {}", count(), path));
    } catch (const std::runtime_error& e) {
        utils::logger().error(format("Picks not exported: {}", e.what()));
        QMessageBox::warning(this, _("Export picks"), QString::fromStdString(e.what()));
    }
}

}  // namespace korvex::app
