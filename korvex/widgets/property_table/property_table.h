#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "korvex/widgets/property_table/property_table_export.h"

class QTableWidget;
class QWidget;

// The host's table of a data object's properties: two read-only columns, property name
// and value, one row per property, sorted by name.
namespace korvex::widgets::property_table {

// An empty property table, ready for refresh().
KORVEX_PROPERTY_TABLE_EXPORT QTableWidget* create(QWidget* parent);

// Replaces the table's rows with `properties`.
KORVEX_PROPERTY_TABLE_EXPORT void refresh(QTableWidget* table, const QVariantMap& properties);

// A property value as the table shows it: numbers compact, lists comma-separated.
KORVEX_PROPERTY_TABLE_EXPORT QString format_value(const QVariant& value);

}  // namespace korvex::widgets::property_table
