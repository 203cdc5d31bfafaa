#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "korvex/app/data/data_export.h"

namespace korvex::app::data {

// Columns read from a delimited text file. A first row whose X, Y or Z is not a number
// names the columns; otherwise they take the default property names (X, Y, Z, A, B, ...).
// The first three columns are the point coordinates and must be numbers; any other
// column is an attribute, of numbers when every value is one, else of texts (a well name).
class KORVEX_DATA_EXPORT PointTable final {
public:
    // `delimiter` is a key of DELIMITER2CHAR: "comma", ",", "space" or " ". Spaces may
    // repeat between values. Blank lines and lines starting with '#' are skipped.
    // Throws utils::ValueError naming the file, and line and column where it applies.
    static PointTable read(const QString& path, const QString& delimiter);
    // "comma" when the first line that is neither blank nor a comment has a comma,
    // else "space" (also for a file that cannot be read: read() reports that).
    static QString sniff_delimiter(const QString& path);

    const QStringList& names() const { return names_; }
    int size() const { return columns_.empty() ? 0 : static_cast<int>(columns_.front().size()); }
    // A column of numbers. Throws utils::LookupError for an unknown name or a text column.
    const std::vector<double>& column(const QString& name) const;
    const std::vector<double>& column(int index) const;
    bool is_text(int index) const { return !texts_.at(index).isEmpty(); }
    // Replaces the X and Y columns (as many values as points): a file's coordinates moved
    // into the project's coordinate reference system.
    void set_xy(std::vector<double> xs, std::vector<double> ys);
    // The values of a text column (empty for a column of numbers).
    const QStringList& texts(int index) const { return texts_.at(index); }
    // The names of the columns of numbers, which can colour the points.
    QStringList number_names() const;
    // The first text column, which names the points; none without one.
    std::optional<int> label_column() const;

private:
    QStringList names_;
    std::vector<std::vector<double>> columns_;
    std::vector<QStringList> texts_;
};

}  // namespace korvex::app::data
