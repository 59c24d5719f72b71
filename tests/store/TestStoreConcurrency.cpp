#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "store/GroupStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextStream>

// Two programs saving new groups on one server at the same time. The shared connection is one
// per process, as the tool has it, so each saver is a process of its own: this test program
// started again with the arguments below.
namespace {

const QString SaverArgument = QStringLiteral("--save-groups");
constexpr int GroupsPerSaver = 50;

// Saver mode: waits for a line on its input (so both savers start together), then saves its
// groups and prints each new id; the exit code is 1 with the error on stderr if one failed.
int runSaver(const QString& connectionString, const QString& tag) {
    db::setConnectionOpener([connectionString] { return db::Connection::open(connectionString); });
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly) || input.readLine().isEmpty())
        return 2;
    QTextStream out(stdout);
    try {
        for (int i = 1; i <= GroupsPerSaver; ++i) {
            int grID = 0;
            store::StoreGroup(grID, QStringLiteral("%1-%2").arg(tag).arg(i), tag, QString(), 1, {"1#$#1"}, {"1"});
            out << grID << '\n';
        }
    } catch (const db::DbError& e) {
        QTextStream(stderr) << e.number() << ": " << e.description() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

class TestStoreConcurrency : public QObject {
    Q_OBJECT

private slots:
    void twoSaversGetDistinctIds() {
        TempServer server;
        FixtureRows(server)
            .author(1, "Brad")
            .workPoint(1, 1, "Depozit")
            .module(1, "Vanzari")
            .operation(1, 1, 1, "Facturi");
        QList<QProcess*> savers;
        for (const QString& tag : {QStringLiteral("A"), QStringLiteral("B")}) {
            auto* saver = new QProcess(this);
            saver->start(QCoreApplication::applicationFilePath(), {SaverArgument, server.connectionString(), tag});
            QVERIFY(saver->waitForStarted());
            savers << saver;
        }
        for (QProcess* saver : savers)
            saver->write("go\n");

        QList<int> printed;
        int interleaved = 0;
        for (QProcess* saver : savers) {
            QVERIFY(saver->waitForFinished(60000));
            const QString errors = QString::fromUtf8(saver->readAllStandardError());
            QVERIFY2(saver->exitCode() == 0 && errors.isEmpty(), qPrintable(errors));
            const QStringList ids = QString::fromUtf8(saver->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            QCOMPARE(ids.size(), GroupsPerSaver);
            for (int i = 0; i < ids.size(); ++i) {
                printed << ids.at(i).toInt();
                if (i > 0 && ids.at(i).toInt() != ids.at(i - 1).toInt() + 1)
                    ++interleaved;
            }
        }
        // How often the other saver got in between two saves of one saver. The engine makes a
        // saver wait while the other writes, so 0 means one waited through the other's whole run.
        qInfo("the other saver got in between %d times", interleaved);
        std::sort(printed.begin(), printed.end());
        QList<int> expected;
        for (int id = 1; id <= 2 * GroupsPerSaver; ++id)
            expected << id;
        QCOMPARE(printed, expected);

        QCOMPARE(server.value("suitedb", "SELECT count(DISTINCT grID) FROM AdmGrup").toInt(), 2 * GroupsPerSaver);
        QCOMPARE(server.value("suitedb", "SELECT count(*) FROM AdmGrup").toInt(), 2 * GroupsPerSaver);
        // Each group got its own grants, none were written under another saver's id.
        QCOMPARE(server.value("suitedb", "SELECT count(*) FROM admGrupAutor").toInt(), 2 * GroupsPerSaver);
        QCOMPARE(server.value("suitedb", "SELECT count(DISTINCT grID) FROM admGrupPuncteLucru").toInt(),
                 2 * GroupsPerSaver);
        QCOMPARE(
            server.value("suitedb", "SELECT count(*) FROM AdmGrup g WHERE grDenumire <> substr(grCod, 1, 1)").toInt(),
            0);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == SaverArgument)
        return runSaver(arguments.at(2), arguments.at(3));
    TestStoreConcurrency test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestStoreConcurrency.moc"
