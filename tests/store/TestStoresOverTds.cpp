#include "db/Connection.h"
#include "db/DbError.h"
#include "db/PassOver.h"
#include "db/RecordSet.h"
#include "db/SharedConnection.h"
#include "store/Base64Encode.h"
#include "store/BrandRoleStore.h"
#include "store/GroupStore.h"
#include "store/UserStore.h"
#include "support/FixtureRows.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"

#include <QTest>
#include <QThread>
#include <memory>

using db::Connection;
using db::DbError;

namespace {

// Ids of this test's own, far above any a real suite holds.
constexpr int Author = 990101;
constexpr int Person = 990201;
constexpr int Brand = 990301;
constexpr int Operation = 990401;

enum class Store { SaveGroup, SaveUser, DeleteGroup, DeleteUser };

// Every call of the stores goes through here, so that a change of their arguments is met in one
// place. texts: a group's grCod, grDenumire, grobs, or a user's usCod, usDenumire, usDomeniu,
// usAlias; items: a group's operations, or a user's groups. Answers the id the store leaves (a new
// row's id for a save).
int callStore(Store what, int id, const QStringList& texts = {}, const QStringList& items = {},
              const QString& password = {}) {
    const auto text = [&](int i) { return texts.value(i); };
    switch (what) {
    case Store::SaveGroup:
        store::StoreGroup(id, text(0), text(1), text(2), Author, items, {});
        break;
    case Store::SaveUser:
        store::StoreUser(id, Person, text(0), text(1), text(2), text(3), items, password);
        break;
    case Store::DeleteGroup:
        store::DropGroup(id);
        break;
    case Store::DeleteUser:
        store::DropUser(id, text(0));
        break;
    }
    return id;
}

// Signs in with connectionString on a thread of its own, where no login is kept afterwards (a
// server refuses to drop a login that is signed in): 0 when it can, else the error's number.
int signIn(const QString& connectionString) {
    int number = 0;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            Connection::open(connectionString)->query(QStringLiteral("Select count(*) From admUser"));
        } catch (const DbError& e) {
            number = e.number();
        }
    }));
    thread->start();
    thread->wait();
    return number;
}

QStringList texts(const db::ResultRows& result) {
    QStringList out;
    for (const QList<QVariant>& row : result.rows)
        for (const QVariant& value : row)
            out << (value.isNull() ? QStringLiteral("NULL") : value.toString());
    return out;
}

} // namespace

// The stores through the real ODBC stack (unixODBC, FreeTDS, Qt's ODBC driver) against the TDS
// server double, or a real SQL Server: what they write is read back through the server, and
// from the double's files where it is the double.
class TestStoresOverTds : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_files;
    std::unique_ptr<TdsServer> m_server;
    // What the test saved, removed afterwards also when it failed halfway (on a real server).
    QList<int> m_groups;
    QList<int> m_users;

    // The statements that remove this test's fixture rows and, with insert, write them again.
    static QString fixtureRows(bool insert) {
        QString sql = QStringLiteral("Delete From PSR_Pers Where IdPers = %1; Delete From Authors Where IdAuthor = %2; "
                                     "Delete From admOperatiiModul Where opID = %3;")
                          .arg(Person)
                          .arg(Author)
                          .arg(Operation);
        if (insert)
            sql +=
                QStringLiteral(" Insert Into PSR_Pers (IdPers, Nume, usID) Values (%1, N'Persoană', 0); Insert Into "
                               "Authors (IdAuthor, Name) Values (%2, N'SC Brădet SRL'); Insert Into admOperatiiModul "
                               "(opID, mdID, Id, opDenumire) Values (%3, 1, 7, N'Facturi'), (%3, 1, 8, N'Avize');")
                    .arg(Person)
                    .arg(Author)
                    .arg(Operation);
        return sql;
    }
    // False when there is no server to test against (the test then skips with the reason).
    bool startServer(const TdsServer::Options& options = {}) {
        m_server = TdsServer::start(m_files->directory(), options);
        if (!m_server)
            return false;
        const QString connection = m_server->connectionString();
        db::setConnectionOpener([connection] { return Connection::open(connection); });
        // The person the users are tied to, the company and the operations the groups are granted:
        // a save ties and grants only what is there.
        Connection::open(connection)->execute(fixtureRows(true));
        return true;
    }
    // What the server keeps of text in table.column (see TdsServer::asStored).
    QString stored(const char* table, const char* column, const QString& text) const {
        return m_server->asStored(QLatin1String(table), QLatin1String(column), text);
    }
    db::ResultRows read(const QString& sql, int id) {
        return Connection::open(m_server->connectionString())->query(sql.arg(id));
    }

private slots:
    void initTestCase() {
        if (!TdsServer::skipReason().isEmpty())
            QSKIP(qPrintable(TdsServer::skipReason()));
    }
    void init() { m_files = std::make_unique<TempServer>(); }
    void cleanup() {
        db::SharedConnection().reset();
        if (m_server && !m_server->isDouble()) {
            for (int grID : std::as_const(m_groups))
                passOver([&] { callStore(Store::DeleteGroup, grID); });
            for (int usID : std::as_const(m_users))
                passOver([&] { callStore(Store::DeleteUser, usID); });
            passOver([&] { Connection::open(m_server->connectionString())->execute(fixtureRows(false)); });
        }
        m_groups.clear();
        m_users.clear();
        m_server.reset();
        m_files.reset();
    }

    void hostileNamesSavedAndDeleted_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Romanian") << QStringLiteral("Vânzări Ștefănești");
        QTest::newRow("comma below") << QStringLiteral("Țară ș ț Ș Ț");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"Tom\" ''");
        QTest::newRow("brackets") << QStringLiteral("[Grup]] [x");
        QTest::newRow("wildcards") << QStringLiteral("100% _a_ [^b]");
        QTest::newRow("semicolons") << QStringLiteral("a; DROP TABLE AdmGrup; --");
    }

    // A group and a user with hostile names are saved, read back exactly through the server (and
    // from the double's files), and deleted.
    void hostileNamesSavedAndDeleted() {
        QFETCH(QString, name);
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        const QString notes = name + QStringLiteral(" — note");
        const int grID = callStore(Store::SaveGroup, 0, {name, name + QStringLiteral(" SRL"), notes},
                                   {QStringLiteral("%1#$#7").arg(Operation), QStringLiteral("%1#$#8").arg(Operation)});
        m_groups << grID;
        QVERIFY(grID > 0);
        QCOMPARE(texts(read("Select grCod, grDenumire, grobs From AdmGrup Where grID = %1", grID)),
                 QStringList({stored("AdmGrup", "grCod", name), stored("AdmGrup", "grDenumire", name + " SRL"),
                              stored("AdmGrup", "grobs", notes)}));
        QCOMPARE(texts(read("Select ID From admGrupOperatii Where grID = %1 Order By ID", grID)),
                 QStringList({QStringLiteral("7"), QStringLiteral("8")}));

        const int usID = callStore(Store::SaveUser, 0,
                                   {name, name + QStringLiteral(" Popescu"), QStringLiteral("DOMENIU\\") + name, name},
                                   {QString::number(grID)});
        m_users << usID;
        QVERIFY(usID > 0);
        QCOMPARE(texts(read("Select usCod, usDenumire, usDomeniu, usAlias From admUser Where usID = %1", usID)),
                 QStringList({stored("admUser", "usCod", name), stored("admUser", "usDenumire", name + " Popescu"),
                              stored("admUser", "usDomeniu", "DOMENIU\\" + name), stored("admUser", "usAlias", name)}));
        QCOMPARE(texts(read("Select grID From admUserGrup Where usID = %1", usID)), QStringList{QString::number(grID)});
        QCOMPARE(texts(read("Select usID From PSR_Pers Where IdPers = %1", Person)),
                 QStringList{QString::number(usID)});
        if (m_server->isDouble()) {
            QCOMPARE(m_files->value("suitedb", "SELECT grDenumire FROM AdmGrup WHERE grID = ?", {grID}).toString(),
                     name + QStringLiteral(" SRL"));
            QCOMPARE(m_files->value("suitedb", "SELECT usCod FROM admUser WHERE usID = ?", {usID}).toString(), name);
        }

        callStore(Store::DeleteUser, usID, {name});
        callStore(Store::DeleteGroup, grID);
        QCOMPARE(texts(read("Select count(*) From admUser Where usID = %1", usID)), QStringList{QStringLiteral("0")});
        QCOMPARE(texts(read("Select count(*) From AdmGrup Where grID = %1", grID)), QStringList{QStringLiteral("0")});
        QCOMPARE(texts(read("Select count(*) From admGrupOperatii Where grID = %1", grID)),
                 QStringList{QStringLiteral("0")});
    }

    // A group deleted after the window listed it gets no member: the user keeps the memberships
    // of the groups that are there.
    void noMemberOfAGroupThatIsGone() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        const int kept = callStore(Store::SaveGroup, 0, {QStringLiteral("tvt.kept"), QStringLiteral("Kept")});
        m_groups << kept;
        const int gone = callStore(Store::SaveGroup, 0, {QStringLiteral("tvt.gone"), QStringLiteral("Gone")});
        callStore(Store::DeleteGroup, gone);
        const int usID = callStore(Store::SaveUser, 0, {QStringLiteral("tvt.member"), QStringLiteral("Member")},
                                   {QString::number(gone), QString::number(kept)});
        m_users << usID;
        QCOMPARE(texts(read("Select grID From admUserGrup Where usID = %1", usID)), QStringList{QString::number(kept)});
    }

    void serverFailuresRollBack_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("narrowed column") << 2628;
        QTest::newRow("duplicate key") << 2627;
    }

    // A save the server refuses (a value wider than the column, a key it already holds) raises the
    // server's cause, not its "The statement has been terminated", and leaves every table as it was.
    void serverFailuresRollBack() {
        QFETCH(int, number);
        FixtureRows(*m_files).group(1, "ADM", "Administratori").user(1, "ana").member(1, 1);
        // The suite's server holds each membership once.
        m_files->exec("suitedb", "CREATE UNIQUE INDEX IX_test_membership ON admUserGrup (usID, grID)");
        if (!startServer({{}, {QStringLiteral("TDSEMU_WIDTHS=admgrup.grcod=3")}}))
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files");
        const QStringList before = m_files->snapshot();
        try {
            if (number == 2628)
                callStore(Store::SaveGroup, 0, {QStringLiteral("Vânzări"), QStringLiteral("x")});
            else
                callStore(Store::SaveUser, 0, {QStringLiteral("dan")}, {"1", "1"});
            QFAIL("the server's refusal raised nothing");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), number);
        }
        QCOMPARE(m_files->snapshot(), before);
    }

    // A user saved with a password gets its server login (the Base64 text of the password's ANSI
    // bytes), with which it can sign in; deleting the user drops the login.
    void loginStatementsReachTheServer() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        const QString code = QStringLiteral("tvt.o'neil");
        const QString password = QStringLiteral("Parolă!");
        const QString encoded = Base64Encode(AnsiBytes(password));
        const QString signInString = QStringLiteral("DRIVER=SQL Server;UID={%1};pwd=%2;DATABASE=%3;Server=%4;")
                                         .arg(code, encoded, m_server->databaseName(), m_server->serverName());
        const int usID = callStore(Store::SaveUser, 0, {code, QStringLiteral("Neil")}, {}, password);
        m_users << usID;
        QCOMPARE(signIn(signInString), 0);
        if (m_server->isDouble())
            QCOMPARE(m_files->rows("master", "SELECT name, password FROM tds_logins WHERE name = ?", {code}),
                     QList<QVariantList>({{code, encoded}}));

        callStore(Store::DeleteUser, usID, {code});
        QCOMPARE(signIn(signInString), 18456);
        QCOMPARE(texts(read("Select count(*) From admUser Where usID = %1", usID)), QStringList{QStringLiteral("0")});
    }

    // A brand role is stored once per user and brand with the flags of the last save, the brand
    // linked to the first company it was saved for and refused to another; the roles query shows it.
    void brandRoles() {
        if (!startServer())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's files");
        FixtureRows(*m_files).author(Author + 1, "Carpatica").user(5, "ana");
        m_files->exec("stk", QStringLiteral("INSERT INTO FAZ_Brand (IdBrand, Brand) VALUES (%1, 'Ștrand')").arg(Brand));
        db::ReplaceSharedConnection();
        QVERIFY(store::StoreBrandRole(Author, Brand, 5, "ana", {}, true, false, 1).stored);
        QVERIFY(
            store::StoreBrandRole(Author, Brand, 5, "ana", {{"SC Brădet SRL", "Ștrand", 1}}, false, true, 1).stored);
        // Another company cannot take the brand over: nothing is written.
        const store::BrandRoleOutcome refused =
            store::StoreBrandRole(Author + 1, Brand, 5, "ana", {{"SC Brădet SRL", "Ștrand", 0}}, true, true, 1);
        QVERIFY(!refused.stored);
        QCOMPARE(refused.otherCompanies, QList<int>{Author});
        QCOMPARE(texts(read("Select IdAuthor, UserId From CRM_Author Where IdBrand = %1", Brand)),
                 QStringList({QString::number(Author), QStringLiteral("1")}));
        QCOMPARE(texts(read("Select isSupervizorBrand, isAdministrator From CRM_User Where UserId = 5 And IdBrand = %1",
                            Brand)),
                 QStringList({QStringLiteral("0"), QStringLiteral("1")}));
        db::RecordSet roles = store::GetUserBrands(5);
        QVERIFY(!roles.eof());
        QCOMPARE(roles.field(QStringLiteral("Societate")).toString(), QStringLiteral("SC Brădet SRL"));
        QCOMPARE(roles.field(QStringLiteral("Brand")).toString(), QStringLiteral("Ștrand"));
        QCOMPARE(roles.field(QStringLiteral("TipUser")).toInt(), 0);
        roles.moveNext();
        QVERIFY(roles.eof());
    }
};

QTEST_GUILESS_MAIN(TestStoresOverTds)
#include "TestStoresOverTds.moc"
