#include "db/DbError.h"
#include "session/DemoSuite.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Reads a database file of a server directly, past the tool's data layer.
class DatabaseFile {
public:
    explicit DatabaseFile(const QString& path) : m_name(QStringLiteral("demo-test-%1").arg(++s_count)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY=0"));
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~DatabaseFile() {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QVariant value(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql) || !q.next())
            return {};
        return q.value(0);
    }
    bool exec(const QString& sql) const {
        QSqlQuery q(QSqlDatabase::database(m_name));
        return q.exec(sql);
    }
    QStringList columns(const QString& table) const {
        const QSqlRecord record = QSqlDatabase::database(m_name).record(table);
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        return names;
    }

private:
    static inline int s_count = 0;
    QString m_name;
};

QString fileOf(const QString& dir, const QString& database) {
    return QDir(dir).filePath(database + ".db");
}

} // namespace

class TestDemoSuite : public QObject {
    Q_OBJECT

private slots:
    // First start creates the suite; a change made to it survives the next start.
    void createsOnceAndKeepsChanges() {
        QTemporaryDir temp;
        const QString dir = temp.filePath(QStringLiteral("data/talvane/demo"));
        QCOMPARE(EnsureDemoSuite(dir), dir);
        for (const char* name : {"suitedb", "ordavia", "stk"})
            QVERIFY2(QFile::exists(fileOf(dir, name)), name);
        QVERIFY(!QFile::exists(fileOf(dir, "suitedb") + ".part"));
        {
            DatabaseFile suite(fileOf(dir, "suitedb"));
            QVERIFY(suite.exec("INSERT INTO AdmGrup (grID, grCod, grDenumire) VALUES (99, 'NOU', 'Grup nou')"));
            QVERIFY(suite.exec("DELETE FROM admUser WHERE usID = 13"));
        }
        QCOMPARE(EnsureDemoSuite(dir), dir);
        DatabaseFile suite(fileOf(dir, "suitedb"));
        QCOMPARE(suite.value("SELECT grCod FROM AdmGrup WHERE grID = 99").toString(), QStringLiteral("NOU"));
        QCOMPARE(suite.value("SELECT count(*) FROM admUser WHERE usID = 13").toInt(), 0);
    }

    // A start that stopped half way (no main database yet) is completed; finished files stay.
    void completesAHalfMadeSuite() {
        QTemporaryDir temp;
        CreateSuiteServer(temp.path(), false, false);
        QFile::remove(fileOf(temp.path(), "suitedb"));
        {
            DatabaseFile ordavia(fileOf(temp.path(), "ordavia"));
            QVERIFY(ordavia.exec("INSERT INTO PSR_PuncteLucru (IdPctLucru, IdAuthor, Name) VALUES (500, 1, 'X')"));
        }
        EnsureDemoSuite(temp.path());
        DatabaseFile ordavia(fileOf(temp.path(), "ordavia"));
        QCOMPARE(ordavia.value("SELECT count(*) FROM PSR_PuncteLucru").toInt(), 1);
        DatabaseFile suite(fileOf(temp.path(), "suitedb"));
        QVERIFY(suite.value("SELECT count(*) FROM admUser").toInt() > 0);
        QVERIFY(QFile::exists(fileOf(temp.path(), "stk")));
    }

    void createServerVariants() {
        QTemporaryDir temp;
        CreateSuiteServer(temp.path(), false, false);
        QVERIFY(QFile::exists(fileOf(temp.path(), "suitedb")));
        QVERIFY(QFile::exists(fileOf(temp.path(), "ordavia")));
        QVERIFY(!QFile::exists(fileOf(temp.path(), "stk")));
        DatabaseFile suite(fileOf(temp.path(), "suitedb"));
        QCOMPARE(suite.value("SELECT count(*) FROM admOperatiiModul").toInt(), 0);
        // An existing database is never overwritten.
        QVERIFY(suite.exec("INSERT INTO admModul (mdID, mdDenumire) VALUES (1, 'M')"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, CreateSuiteServer(temp.path(), true, true));
        QCOMPARE(suite.value("SELECT count(*) FROM admModul").toInt(), 1);
        QVERIFY(!QFile::exists(fileOf(temp.path(), "stk")));
    }

    // The demo rows hang together: every reference points at a row that exists.
    void demoRowsAreConsistent() {
        QTemporaryDir temp;
        CreateSuiteServer(temp.path(), true, true);
        DatabaseFile suite(fileOf(temp.path(), "suitedb"));
        QVERIFY(suite.exec("ATTACH DATABASE '" + fileOf(temp.path(), "ordavia") + "' AS ordavia"));
        QVERIFY(suite.exec("ATTACH DATABASE '" + fileOf(temp.path(), "stk") + "' AS stk"));
        auto count = [&](const char* sql) { return suite.value(QString::fromUtf8(sql)).toInt(); };

        QVERIFY(count("SELECT count(*) FROM Authors") >= 4 && count("SELECT count(*) FROM Authors") <= 6);
        QVERIFY(count("SELECT count(*) FROM admModul") >= 6);
        QVERIFY(count("SELECT count(*) FROM admUser") >= 10);
        QVERIFY(count("SELECT count(*) FROM AdmGrup") >= 6);
        QVERIFY(count("SELECT count(*) FROM PSR_Pers WHERE Prenume IS NULL") > 0);
        QVERIFY(count("SELECT count(*) FROM admUser WHERE usAlias IS NULL AND usDomeniu IS NULL") > 0);
        QVERIFY(count("SELECT count(*) FROM admOperatiiModul WHERE opIdParinte > 0") > 0);
        QCOMPARE(count("SELECT count(*) FROM (SELECT mdID FROM admOperatiiModul GROUP BY mdID "
                       "HAVING count(*) < 5 OR count(*) > 20)"),
                 0);
        // Parents are operations of the same module.
        QCOMPARE(count("SELECT count(*) FROM admOperatiiModul c WHERE c.opIdParinte > 0 AND NOT EXISTS "
                       "(SELECT 1 FROM admOperatiiModul p WHERE p.mdID = c.mdID AND p.opID = c.opIdParinte)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM admOperatiiModul o WHERE NOT EXISTS "
                       "(SELECT 1 FROM admModul m WHERE m.mdID = o.mdID)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM admGrupOperatii g WHERE NOT EXISTS "
                       "(SELECT 1 FROM admOperatiiModul o WHERE o.opID = g.opID AND o.Id = g.ID)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM admGrupOperatii g WHERE NOT EXISTS "
                       "(SELECT 1 FROM admGrupAutor a WHERE a.grID = g.grID AND a.auID = g.auID)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM admUserGrup m WHERE NOT EXISTS (SELECT 1 FROM admUser u "
                       "WHERE u.usID = m.usID) OR NOT EXISTS (SELECT 1 FROM AdmGrup g WHERE g.grID = m.grID)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM PSR_Pers p WHERE p.usID <> 0 AND NOT EXISTS "
                       "(SELECT 1 FROM admUser u WHERE u.usID = p.usID)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM (SELECT usID FROM PSR_Pers WHERE usID <> 0 GROUP BY usID "
                       "HAVING count(*) > 1)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM admGrupPuncteLucru g WHERE NOT EXISTS "
                       "(SELECT 1 FROM ordavia.PSR_PuncteLucru p WHERE p.IdPctLucru = g.IdPctLucru)"),
                 0);
        // The stk copy of the work points has the same ids and companies as ordavia's.
        QCOMPARE(count("SELECT count(*) FROM ordavia.PSR_PuncteLucru o LEFT JOIN stk.stk_PuncteLucru s "
                       "ON s.IdPctLucru = o.IdPctLucru AND s.IdAuthor = o.IdAuthor WHERE s.IdPctLucru IS NULL"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM ordavia.PSR_PuncteLucru"),
                 count("SELECT count(*) FROM stk.stk_PuncteLucru"));
        QCOMPARE(count("SELECT count(*) FROM Authors a WHERE NOT EXISTS "
                       "(SELECT 1 FROM ordavia.PSR_PuncteLucru p WHERE p.IdAuthor = a.IdAuthor)"),
                 0);
        QCOMPARE(count("SELECT count(*) FROM CRM_User c WHERE NOT EXISTS (SELECT 1 FROM stk.FAZ_Brand b "
                       "WHERE b.IdBrand = c.IdBrand) OR NOT EXISTS (SELECT 1 FROM admUser u WHERE u.usID = c.UserId)"),
                 0);
        QCOMPARE(suite.value("SELECT NickName FROM Authors WHERE IdAuthor = 1").toString(), QStringLiteral("Brădet"));
        // The brand tab reads these two tables by position: id first, then name.
        QCOMPARE(suite.columns("Authors").mid(0, 3), QStringList({"IdAuthor", "Name", "NickName"}));
        DatabaseFile stk(fileOf(temp.path(), "stk"));
        QCOMPARE(stk.columns("FAZ_Brand").mid(0, 2), QStringList({"IdBrand", "Brand"}));
    }
};

QTEST_GUILESS_MAIN(TestDemoSuite)
#include "TestDemoSuite.moc"
