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
    const int coordinates = static_cast<int>(COORDINATE_PROPERTY_NAMES.size());
    TextLines lines(path);

    PointTable table;
    // Whether an attribute holds numbers is known only once every row is read.
    struct Row {
        int line_number;
        QStringList fields;
    };
    std::vector<Row> rows;
    while (const std::optional<QString> next = lines.next()) {
        const QString& line = *next;
        const int line_number = lines.line_number();
        if (line.trimmed().isEmpty() || line.trimmed().startsWith('#')) continue;
        const QStringList fields = split(line, separator);
        if (table.names_.isEmpty()) {
            if (fields.size() < coordinates)
                fail(_("line %1: %2 columns; points need at least three (X, Y, Z)")
                         .arg(line_number)
                         .arg(fields.size()));
            // Attributes may be text (a well name): only the coordinates tell a header.
            const bool header = std::any_of(fields.begin(), fields.begin() + coordinates,
                                            [](const QString& f) { return !number(f); });
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
            if (header) continue;
        }
        if (fields.size() != table.names_.size())
            fail(_("line %1: %2 columns, expected %3 like the first row")
                     .arg(line_number)
                     .arg(fields.size())
                     .arg(table.names_.size()));
        for (int i = 0; i < coordinates; ++i)
            if (!number(fields[i]))
                fail(_("line %1, column %2: \"%3\" is not a number")
                         .arg(line_number)
                         .arg(i + 1)
                         .arg(utils::excerpt(fields[i])));
        rows.push_back({line_number, fields});
    }

    const int count = table.names_.size();
    std::vector<bool> text(count, false);
    for (const Row& row : rows)
        for (int i = coordinates; i < count; ++i) text[i] = text[i] || !number(row.fields[i]);
    table.columns_.resize(count);
    table.texts_.resize(count);
    // A row holding nan or inf would spoil the bounds and colour range of every point.
    int non_finite_rows = 0;
    int first_non_finite_line = 0;
    for (const Row& row : rows) {
        std::vector<double> values(count);
        bool finite = true;
        for (int i = 0; i < count; ++i) {
            if (text[i]) continue;
            values[i] = *number(row.fields[i]);
            finite = finite && std::isfinite(values[i]);
        }
        if (!finite) {
            if (non_finite_rows++ == 0) first_non_finite_line = row.line_number;
            continue;
        }
        for (int i = 0; i < count; ++i) {
            if (text[i])
                table.texts_[i] << row.fields[i];
            else
                table.columns_[i].push_back(values[i]);
        }
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
    return column(index);
}

const std::vector<double>& PointTable::column(int index) const {
    if (is_text(index))
        throw utils::LookupError("column " + names_[index].toStdString() + " holds text");
    return columns_.at(index);
}

QStringList PointTable::number_names() const {
    QStringList names;
    for (int i = 0; i < names_.size(); ++i)
        if (!is_text(i)) names << names_[i];
    return names;
}

std::optional<int> PointTable::label_column() const {
    for (int i = 0; i < names_.size(); ++i)
        if (is_text(i)) return i;
    return std::nullopt;
}

void PointTable::set_xy(std::vector<double> xs, std::vector<double> ys) {
    if (int(xs.size()) != size() || int(ys.size()) != size())
        throw utils::ValueError("set_xy: one X and one Y per point");
    columns_[0] = std::move(xs);
    columns_[1] = std::move(ys);
}

}  // namespace korvex::app::data
