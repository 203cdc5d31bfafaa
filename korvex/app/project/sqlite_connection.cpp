#include "korvex/app/project/sqlite_connection.h"

#include <QSqlError>
#include <atomic>

#include "korvex/app/project/project_error.h"

namespace korvex::app {

namespace {

QString next_connection_name() {
    static std::atomic<int> counter{0};
    return QStringLiteral("korvex-project-%1").arg(++counter);
}

[[noreturn]] void fail(const QSqlError& error) {
    const QString reason = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    throw ProjectError(reason);
}

}  // namespace

SqliteConnection::SqliteConnection(const QString& path) : name_(next_connection_name()) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(path);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db_.open()) {
        const QSqlError error = db_.lastError();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        fail(error);
    }
}

SqliteConnection::~SqliteConnection() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

QSqlQuery SqliteConnection::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) fail(query.lastError());
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) fail(query.lastError());
    return query;
}

QVariant SqliteConnection::scalar(const QString& sql) {
    QSqlQuery query = exec(sql);
    if (!query.next()) {
        if (query.lastError().isValid()) fail(query.lastError());
        return {};
    }
    return query.value(0);
}

void SqliteConnection::begin() {
    // IMMEDIATE takes the write lock at once, so no reader can slip in between
    // the checks and the writes of a save.
    exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteConnection::commit() { exec(QStringLiteral("COMMIT")); }

void SqliteConnection::rollback() noexcept {
    QSqlQuery query(db_);
    query.exec(QStringLiteral("ROLLBACK"));
}

}  // namespace korvex::app
