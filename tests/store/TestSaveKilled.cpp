#include "db/SharedConnection.h"
#include "store/GroupStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <cstdio>

// A group of 2,000 operations saved over and over by a child process that is killed with
// SIGKILL while a save is under way: every database file must stay sound, and the group must
// hold either all of its old grants or all of its new ones.
namespace {

const char* const ChildVariable = "TALVANE_SAVE_KILLED_CHILD";
constexpr int Operations = 2000;

// The group's grants, all with the same Id: the saves alternate between Id 2 and Id 1.
QStringList grantsWithId(int id) {
    QStringList operations;
    for (int opID = 1; opID <= Operations; ++opID)
        operations << QStringLiteral("%1#$#%2").arg(opID).arg(id);
    return operations;
}

// The child: saves group 1 for company 1 until it is killed, writing a line after each save.
int runChild(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString connection = qEnvironmentVariable(ChildVariable);
    db::setConnectionOpener([connection] { return db::Connection::open(connection); });
    const QStringList sets[] = {grantsWithId(2), grantsWithId(1)};
    for (int round = 0;; ++round) {
        int grID = 1;
        store::StoreGroup(grID, QStringLiteral("MARE"), QStringLiteral("Grup mare"), QString(), 1, sets[round % 2], {});
        std::printf("saved\n");
        std::fflush(stdout);
    }
}

} // namespace

class TestSaveKilled : public QObject {
    Q_OBJECT

private slots:
    void aKilledSaveLeavesAllOldOrAllNew() {
        TempServer server;
        server.exec("suitedb", "INSERT INTO AdmGrup (grID, grCod, grDenumire, IdOperator) VALUES (1, 'MARE', 'x', 55)");
        server.exec("suitedb", "INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) VALUES (1, 1, 55, "
                               "'2025-03-07')");
        server.exec("suitedb", QStringLiteral("INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct) "
                                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i "
                                              "< %1) SELECT 1, 1, i, 1, 55, '2025-03-07' FROM n")
                                   .arg(Operations));
        // The company and the operations the saves grant are listed.
        FixtureRows(server).author(1, "Brad");
        server.exec("suitedb",
                    QStringLiteral("INSERT INTO admOperatiiModul (opID, mdID, Id, opDenumire) WITH RECURSIVE "
                                   "n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) SELECT i, "
                                   "1, k, 'op' FROM n, (SELECT 1 AS k UNION ALL SELECT 2)")
                        .arg(Operations));
        db::SharedConnection().reset();
        const QString journal = server.databaseFile("suitedb") + QStringLiteral("-journal");

        // A kill only counts when it caught a save with its journal still on disk (a hot journal
        // that the next opening must roll back). Every other attempt lets one save commit first,
        // so the kill interrupts a save over grants that an earlier save wrote.
        int caughtMidSave = 0;
        int newGrants = 0;
        for (int attempt = 0; attempt < 12 && caughtMidSave < 4; ++attempt) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(ChildVariable, server.connectionString());
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            if (attempt % 2 == 1)
                QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 20000);
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(journal), 20000);
            child.kill();
            QVERIFY(child.waitForFinished());
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            if (QFile::exists(journal) && QFile(journal).size() > 0)
                ++caughtMidSave;

            for (const char* database : {"suitedb", "ordavia", "stk", "master"})
                QCOMPARE(server.value(database, "PRAGMA integrity_check").toString(), QStringLiteral("ok"));
            const QVariantList row = server
                                         .rows("suitedb", "SELECT count(*), sum(ID = 1), sum(ID = 2) FROM "
                                                          "admGrupOperatii WHERE grID = 1 AND auID = 1")
                                         .value(0);
            const QList<int> grants = {row.value(0).toInt(), row.value(1).toInt(), row.value(2).toInt()};
            QVERIFY2(grants == QList<int>({Operations, Operations, 0}) ||
                         grants == QList<int>({Operations, 0, Operations}),
                     qPrintable(QStringLiteral("grants after the kill: %1 rows, %2 with Id 1, %3 with Id 2")
                                    .arg(grants[0])
                                    .arg(grants[1])
                                    .arg(grants[2])));
            QCOMPARE(server.value("suitedb", "SELECT count(*) FROM admGrupAutor WHERE grID = 1").toInt(), 1);
            if (grants[2] == Operations)
                ++newGrants;
        }
        QVERIFY2(caughtMidSave > 0, "no kill landed in the middle of a save");
        qInfo("%d kills landed in the middle of a save; %d left the grants of a committed save", caughtMidSave,
              newGrants);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(ChildVariable))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestSaveKilled test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestSaveKilled.moc"
