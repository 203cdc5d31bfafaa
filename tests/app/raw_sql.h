#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTest>

namespace korvex::testing {

// Runs one statement on a project file directly, as another program (or an older korvex)
// would.
inline void run_sql(const QString& path, const QString& statement) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY2(query.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase("raw");
}

}  // namespace korvex::testing
