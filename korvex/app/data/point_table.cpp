#include "korvex/app/data/point_table.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "korvex/app/data/text_lines.h"
#include "korvex/config/base.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/excerpt.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;
using utils::appconsts::COORDINATE_PROPERTY_NAMES;
using utils::appconsts::DEFAULT_PROPERTY_NAMES;
using utils::appconsts::DELIMITER2CHAR;

namespace {

QStringList split(const QString& line, const QString& separator) {
    if (separator == QLatin1String(" ")) return line.simplified().split(' ', Qt::SkipEmptyParts);
    QStringList fields = line.split(separator);
    for (QString& field : fields) field = field.trimmed();
    return fields;
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

[[noreturn]] void throw_error(const QString& path, const QString& what) {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path, what).toStdString());
}

}  // namespace

PointTable PointTable::read(const QString& path, const QString& delimiter) {
    const auto fail = [&](const QString& what) { throw_error(path, what); };
    if (!DELIMITER2CHAR.contains(delimiter))
        fail(_("unknown delimiter \"%1\" (use comma or space)").arg(utils::excerpt(delimiter)));
    const QString separator = DELIMITER2CHAR.at(delimiter);
    TextLines lines(path);

    PointTable table;
    // A row holding nan or inf would spoil the bounds and colour range of every point.
    int non_finite_rows = 0;
    int first_non_finite_line = 0;
    while (const std::optional<QString> next = lines.next()) {
        const QString& line = *next;
        const int line_number = lines.line_number();
        if (line.trimmed().isEmpty() || line.trimmed().startsWith('#')) continue;
        const QStringList fields = split(line, separator);
        const bool first_row = table.names_.isEmpty();
        if (first_row) {
            const bool header = std::any_of(fields.begin(), fields.end(),
                                            [](const QString& f) { return !number(f); });
            if (fields.size() < static_cast<int>(COORDINATE_PROPERTY_NAMES.size()))
                fail(_("line %1: %2 columns; points need at least three (X, Y, Z)")
                         .arg(line_number)
                         .arg(fields.size()));
            if (!header && fields.size() > static_cast<int>(DEFAULT_PROPERTY_NAMES.size()))
                fail(_("line %1: %2 columns but no header row naming them (at most %3 columns "
                       "take default names)")
                         .arg(line_number)
                         .arg(fields.size())
                         .arg(DEFAULT_PROPERTY_NAMES.size()));
            for (int i = 0; i < fields.size(); ++i)
                table.names_ << (header ? fields[i] : DEFAULT_PROPERTY_NAMES[i]);
            if (std::set<QString>(table.names_.begin(), table.names_.end()).size() !=
                static_cast<std::size_t>(table.names_.size()))
                fail(_("line %1: the header row names a column twice").arg(line_number));
            table.columns_.resize(fields.size());
            if (header) continue;
        }
        if (fields.size() != table.names_.size())
            fail(_("line %1: %2 columns, expected %3 like the first row")
                     .arg(line_number)
                     .arg(fields.size())
                     .arg(table.names_.size()));
        std::vector<double> row;
        for (int i = 0; i < fields.size(); ++i) {
            const auto value = number(fields[i]);
            if (!value)
                fail(_("line %1, column %2: \"%3\" is not a number")
                         .arg(line_number)
                         .arg(i + 1)
                         .arg(utils::excerpt(fields[i])));
            row.push_back(*value);
        }
        if (!std::all_of(row.begin(), row.end(), [](double v) { return std::isfinite(v); })) {
            if (non_finite_rows++ == 0) first_non_finite_line = line_number;
            continue;
        }
        for (std::size_t i = 0; i < row.size(); ++i) table.columns_[i].push_back(row[i]);
    }
    if (table.size() == 0 && non_finite_rows > 0)
        fail(_("no points: all %1 rows hold a value that is not a finite number (the first "
               "on line %2)")
                 .arg(non_finite_rows)
                 .arg(first_non_finite_line));
    if (table.size() == 0) fail(_("no points in the file"));
    if (non_finite_rows > 0)
        utils::logger().warning(_("%1: %2 rows skipped, each holding a value that is not a finite "
                                  "number (the first on line %3)")
                                    .arg(path)
                                    .arg(non_finite_rows)
                                    .arg(first_non_finite_line));
    return table;
}

QString PointTable::sniff_delimiter(const QString& path) {
    try {
        TextLines lines(path);
        while (const std::optional<QString> next = lines.next()) {
            const QString line = next->trimmed();
            if (line.isEmpty() || line.startsWith('#')) continue;
            return line.contains(',') ? QStringLiteral("comma") : QStringLiteral("space");
        }
    } catch (const utils::ValueError&) {
        // read() reports it
    }
    return QStringLiteral("space");
}

const std::vector<double>& PointTable::column(const QString& name) const {
    const int index = names_.indexOf(name);
    if (index < 0) throw utils::LookupError("no column named " + name.toStdString());
    return columns_[index];
}

}  // namespace korvex::app::data
