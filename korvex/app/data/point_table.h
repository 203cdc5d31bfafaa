#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace korvex::app::data {

// Columns of numbers read from a delimited text file. A first row holding any text
// that is not a number names the columns; otherwise they take the default property
// names (X, Y, Z, A, B, ...). The first three columns are the point coordinates.
class PointTable final {
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
    // Throws utils::LookupError for an unknown name.
    const std::vector<double>& column(const QString& name) const;
    const std::vector<double>& column(int index) const { return columns_.at(index); }

private:
    QStringList names_;
    std::vector<std::vector<double>> columns_;
};

}  // namespace korvex::app::data
