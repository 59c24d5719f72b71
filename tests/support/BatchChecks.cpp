#include "support/BatchChecks.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/StatementLog.h"
#include "db/Transaction.h"

#include <QTest>

namespace {

// The rows of one query, values as text (Null as "NULL").
QStringList lines(const db::ResultRows& result) {
    QStringList out;
    for (const QList<QVariant>& row : result.rows) {
        QStringList values;
        for (const QVariant& value : row)
            values << (value.isNull() ? QStringLiteral("NULL") : value.toString());
        out << values.join(QStringLiteral(" | "));
    }
    return out;
}

} // namespace

void checkExecuteBatch(db::Connection& connection, int firstId, int duplicateKeyNumber) {
    using db::DbError;
    const int id = firstId;
    const auto insert = [](int key, const QString& code) {
        return QStringLiteral("Insert Into AdmGrup (grID, grCod) Values (%1, N'%2')").arg(key).arg(code);
    };
    {
        db::Transaction transaction(connection);
        connection.executeBatch({insert(id, "A"),
                                 QStringLiteral("Update AdmGrup Set grCod = N'Ș' Where grID = %1").arg(id),
                                 insert(id + 1, "B")});
        transaction.commit();
    }
    const QString read = QStringLiteral("Select grID, grCod From AdmGrup Where grID >= %1 Order By grID").arg(id);
    QCOMPARE(lines(connection.query(read)),
             QStringList({QStringLiteral("%1 | Ș").arg(id), QStringLiteral("%1 | B").arg(id + 1)}));
    try {
        db::Transaction transaction(connection);
        connection.executeBatch({insert(id + 2, "C"), insert(id, "again"), insert(id + 3, "D")});
        transaction.commit();
        QFAIL("a duplicate key raised nothing");
    } catch (const DbError& e) {
        if (duplicateKeyNumber != 0)
            QCOMPARE(e.number(), duplicateKeyNumber);
        QVERIFY2(e.description().contains(QLatin1String("UNIQUE")) || e.description().contains("PRIMARY KEY"),
                 qPrintable(e.description()));
    }
    QCOMPARE(lines(connection.query(read)).size(), 2);

    // A failure injected at the second statement: the first one runs, then the error is raised.
    const QString count =
        QStringLiteral("Select count(*) From AdmGrup Where grID >= %1 And grID <= %2").arg(id + 5).arg(id + 7);
    {
        db::Transaction transaction(connection);
        db::StatementLog::failAt(2, DbError(-7, QStringLiteral("injected")));
        try {
            connection.executeBatch({insert(id + 5, "E"), insert(id + 6, "F"), insert(id + 7, "G")});
            QFAIL("the injected failure was not raised");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), -7);
        }
        db::StatementLog::clearFailure();
        QCOMPARE(lines(connection.query(count)), QStringList{QStringLiteral("1")});
    }
    QCOMPARE(lines(connection.query(count)), QStringList{QStringLiteral("0")});

    // Outside a transaction the statements run one at a time: none after the failing one.
    QVERIFY_THROWS_EXCEPTION(DbError,
                             connection.executeBatch({insert(id + 5, "E"), insert(id, "dup"), insert(id + 6, "F")}));
    QCOMPARE(lines(connection.query(count)), QStringList{QStringLiteral("1")});
}
