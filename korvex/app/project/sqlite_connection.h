#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace korvex::app {

// One Qt Sql connection to an SQLite file, open for the life of the object. Every
// failure throws ProjectError carrying the driver's reason.
class SqliteConnection final {
public:
    // Opens `path`; SQLite creates the file when it does not exist.
    explicit SqliteConnection(const QString& path);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Runs one statement with positional values bound in order; returns the query
    // positioned before its first row.
    QSqlQuery exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of `sql`.
    QVariant scalar(const QString& sql);

    void begin();
    void commit();
    // Never throws: it runs while another failure is on its way up.
    void rollback() noexcept;

private:
    QString name_;
    QSqlDatabase db_;
};

}  // namespace korvex::app
