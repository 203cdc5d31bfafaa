#include "korvex/widgets/property_table/property_table.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::widgets::property_table {

using config::_;

namespace {

bool is_number(const QVariant& value) {
    switch (static_cast<QMetaType::Type>(value.userType())) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Float:
        case QMetaType::Double:
            return true;
        default:
            return false;
    }
}

QString format_real(double value) {
    if (std::isnan(value)) return QStringLiteral("nan");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    // Six significant digits: sample intervals and amplitudes read well, and whole
    // numbers stored as reals show without a fraction.
    return QString::number(value, 'g', 6);
}

QStringList sorted_names(const QVariantMap& properties) {
    QStringList names = properties.keys();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QTableWidgetItem* read_only_item(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

QTableWidget* create(QWidget* parent) {
    auto* table = new QTableWidget(0, 2, parent);
    table->setHorizontalHeaderLabels({_("Property"), _("Value")});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

void refresh(QTableWidget* table, const QVariantMap& properties) {
    if (!table) throw utils::ValueError("no property table to refresh");
    const QStringList names = sorted_names(properties);
    table->setColumnCount(2);
    table->setRowCount(names.size());
    for (int row = 0; row < names.size(); ++row) {
        const QVariant value = properties.value(names[row]);
        table->setItem(row, 0, read_only_item(names[row]));
        auto* value_item = read_only_item(format_value(value));
        if (is_number(value)) value_item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, 1, value_item);
    }
    table->resizeColumnToContents(0);
}

QString format_value(const QVariant& value) {
    switch (static_cast<QMetaType::Type>(value.userType())) {
        case QMetaType::Bool:
            return value.toBool() ? _("yes") : _("no");
        case QMetaType::Float:
        case QMetaType::Double:
            return format_real(value.toDouble());
        case QMetaType::QVariantList:
        case QMetaType::QStringList: {
            QStringList parts;
            for (const QVariant& item : value.toList()) parts << format_value(item);
            return parts.join(", ");
        }
        case QMetaType::QVariantMap: {
            QStringList parts;
            const QVariantMap map = value.toMap();
            for (const QString& name : sorted_names(map)) {
                parts << name + ": " + format_value(map[name]);
            }
            return parts.join(", ");
        }
        default:
            return value.toString();
    }
}

}  // namespace korvex::widgets::property_table
