#include "db/SharedConnection.h"
#include "store/RightsQueries.h"
#include "support/FixtureRows.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"

#include <QSet>
#include <QTest>
#include <memory>

using store::ReportScope;

namespace {

// Every row of set as its named fields joined by "|", in the order read.
QStringList lines(db::RecordSet set, const QStringList& fields) {
    QStringList rows;
    for (; !set.eof(); set.moveNext()) {
        QStringList values;
        for (const QString& field : fields)
            values << set.field(field).toString();
        rows << values.join(QLatin1Char('|'));
    }
    set.close();
    return rows;
}

QStringList lines(const QList<QVariantList>& rows) {
    QStringList result;
    for (const QVariantList& row : rows) {
        QStringList values;
        for (const QVariant& value : row)
            values << value.toString();
        result << values.join(QLatin1Char('|'));
    }
    return result;
}

QStringList sorted(QStringList rows) {
    rows.sort();
    return rows;
}

// Whether rows, split at "|", never go back in the order of their first `keys` fields, compared
// as the report compares text (without case).
bool ordered(const QStringList& rows, int keys) {
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList a = rows[i - 1].split(QLatin1Char('|')).mid(0, keys);
        const QStringList b = rows[i].split(QLatin1Char('|')).mid(0, keys);
        for (int k = 0; k < keys; ++k) {
            const int c = a[k].compare(b[k], Qt::CaseInsensitive);
            if (c < 0)
                break;
            if (c > 0)
                return false;
        }
    }
    return true;
}

} // namespace

// The reads of the rights views and report, each against a join of the test's own on the same
// suite: users 31 "ana" in groups 21 and 22, whose operations and work points overlap, 32 "dan"
// in group 22 only, 33 "ion" in group 23, which grants only an operation missing from the
// catalogue, and in group 29, which no longer exists but left its grants behind. The whole test runs twice: on the
// embedded server, then through the ODBC stack against the TDS server double serving the same files (the test's joins
// read those files, so a real server is not used here).
class TestRightsQueries : public QObject {
    Q_OBJECT

public:
    explicit TestRightsQueries(bool overTds) : m_overTds(overTds) {}

private:
    const bool m_overTds;
    std::unique_ptr<TempServer> m_server;
    std::unique_ptr<TdsServer> m_tds;
    std::shared_ptr<db::Connection> m_connection;

    QList<QVariantList> suite(const QString& sql, const QVariantList& values = {}) const {
        return m_server->rows(QStringLiteral("suitedb"), sql, values);
    }

private slots:
    void initTestCase() {
        const QString skip =
            m_overTds ? TdsServer::doubleSkipReason(QStringLiteral("the rights reads are compared with joins over "
                                                                   "the double's files"))
                      : QString();
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
    }
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(101, "Brădet, Distribuție")
            .author(102, "Alfa")
            .author(103, "Carpatica")
            .module(11, "Vânzări")
            .module(12, "Contabilitate")
            .operation(1, 11, 501, "Facturi")
            .operation(2, 11, 502, "Avize")
            .operation(1, 12, 503, "Balanță")
            .operation(2, 12, 504, "Jurnal")
            .group(21, "ADMIN")
            .group(22, "CONTAB")
            .group(23, "GOL")
            .user(31, "ana", "Ana Avram")
            .user(32, "dan", "Dan Barbu")
            .user(33, "ion", "Ion Ene")
            .member(31, 21)
            .member(31, 22)
            .member(32, 22)
            .member(33, 23)
            .member(33, 29)
            .grant(21, 101, 1, 501)
            .grant(21, 101, 1, 503)
            .grant(21, 102, 2, 502)
            .grant(22, 101, 1, 503)
            .grant(22, 101, 2, 504)
            .grant(23, 101, 9, 999)
            .grant(29, 102, 1, 501)
            .workPoint(41, 101, "Depozit")
            .workPoint(42, 101, "Magazin")
            .workPoint(43, 102, "Sediu")
            .workPoint(44, 103, "Punct Carpatica")
            .grantWorkPoint(21, 41)
            .grantWorkPoint(21, 43)
            .grantWorkPoint(22, 41)
            .grantWorkPoint(22, 42)
            .grantWorkPoint(22, 44)
            .grantWorkPoint(29, 43);
        if (m_overTds) {
            m_tds = TdsServer::start(m_server->directory());
            const QString connection = m_tds->connectionString();
            db::setConnectionOpener([connection] { return db::Connection::open(connection); });
        }
        m_connection = db::ReplaceSharedConnection();
    }
    void cleanup() {
        m_connection.reset();
        db::SharedConnection().reset();
        m_tds.reset();
        m_server.reset();
    }

    // What a user may run in a company, with each group that grants it, as the test's own join
    // finds it; modules and operations in name order.
    void userOperations_data() {
        QTest::addColumn<int>("usID");
        QTest::addColumn<int>("auID");
        QTest::newRow("two groups, one operation through both") << 31 << 101;
        QTest::newRow("one group") << 31 << 102;
        QTest::newRow("the other member") << 32 << 101;
        QTest::newRow("a group with no grants") << 33 << 101;
        QTest::newRow("a company without grants") << 31 << 103;
    }
    void userOperations() {
        QFETCH(int, usID);
        QFETCH(int, auID);
        const QStringList rows = lines(store::GetUserOperations(m_connection, usID, auID),
                                       {"mdDenumire", "opDenumire", "mdID", "opID", "Id", "grID", "grCod"});
        const QStringList expected =
            lines(suite("SELECT m.mdDenumire, o.opDenumire, o.mdID, o.opID, o.Id, g.grID, g.grCod FROM admUserGrup ug "
                        "JOIN AdmGrup g ON g.grID = ug.grID JOIN admGrupOperatii x ON x.grID = ug.grID "
                        "JOIN admOperatiiModul o ON o.opID = x.opID AND o.Id = x.ID JOIN admModul m ON m.mdID = o.mdID "
                        "WHERE ug.usID = ? AND x.auID = ?",
                        {usID, auID}));
        QCOMPARE(sorted(rows), sorted(expected));
        QVERIFY(ordered(rows, 2));

        QStringList sizes = lines(store::GetUserModuleSizes(m_connection, usID, auID), {"mdID", "opCount"});
        QStringList modules;
        for (const QString& row : expected)
            modules << row.section(QLatin1Char('|'), 2, 2);
        QStringList expectedSizes;
        for (const QString& module : QSet<QString>(modules.begin(), modules.end()))
            expectedSizes << module + QLatin1Char('|') +
                                 suite("SELECT count(*) FROM admOperatiiModul WHERE mdID = ?", {module.toInt()})
                                     .first()
                                     .first()
                                     .toString();
        QCOMPARE(sorted(sizes), sorted(expectedSizes));
    }

    // The companies of a user: those of its groups' operations and those of its groups' work points;
    // none through a group that no longer exists or an operation the catalogue does not hold.
    void userCompanies() {
        QCOMPARE(lines(store::GetUserCompanies(m_connection, 31), {"IdAuthor", "Name"}),
                 QStringList({"102|Alfa", "101|Brădet, Distribuție", "103|Carpatica"}));
        QCOMPARE(lines(store::GetUserCompanies(m_connection, 32), {"IdAuthor"}), QStringList({"101", "103"}));
        QVERIFY(lines(store::GetUserCompanies(m_connection, 33), {"IdAuthor"}).isEmpty());
    }

    // The work points of a company a user may use, with the groups that give them.
    void userWorkPoints() {
        QHash<int, int> companyOf;
        for (const QVariantList& row : m_server->rows(
                 QStringLiteral("ordavia"), QStringLiteral("SELECT IdPctLucru, IdAuthor FROM PSR_PuncteLucru")))
            companyOf.insert(row[0].toInt(), row[1].toInt());
        const QList<QVariantList> grants = suite("SELECT ug.usID, gp.IdPctLucru, g.grID FROM admUserGrup ug "
                                                 "JOIN AdmGrup g ON g.grID = ug.grID "
                                                 "JOIN admGrupPuncteLucru gp ON gp.grID = ug.grID");
        for (const int usID : {31, 32, 33}) {
            for (const int auID : {101, 102, 103}) {
                QStringList expected;
                for (const QVariantList& grant : grants)
                    if (grant[0].toInt() == usID && companyOf.value(grant[1].toInt()) == auID)
                        expected << grant[1].toString() + QLatin1Char('|') + grant[2].toString();
                const QStringList rows =
                    lines(store::GetUserWorkPoints(m_connection, usID, auID), {"IdPctLucru", "grID"});
                QCOMPARE(sorted(rows), sorted(expected));
            }
        }
        QCOMPARE(lines(store::GetUserWorkPoints(m_connection, 31, 101), {"Name", "grCod"}),
                 QStringList({"Depozit|ADMIN", "Depozit|CONTAB", "Magazin|CONTAB"}));
    }

    // Who may run each granted operation in each company, and use each work point, with the
    // groups that give it to them.
    void whoCanDoThis() {
        const QList<QVariantList> operations = suite("SELECT DISTINCT auID, opID, ID FROM admGrupOperatii");
        QVERIFY(operations.size() >= 4);
        for (const QVariantList& op : operations) {
            const QStringList rows =
                lines(store::GetOperationUsers(m_connection, op[0].toInt(), op[1].toInt(), op[2].toInt()),
                      {"usCod", "usID", "grID", "grCod", "usDenumire"});
            const QStringList expected =
                lines(suite("SELECT u.usCod, u.usID, g.grID, g.grCod, u.usDenumire FROM admGrupOperatii x "
                            "JOIN AdmGrup g ON g.grID = x.grID JOIN admUserGrup ug ON ug.grID = x.grID "
                            "JOIN admUser u ON u.usID = ug.usID WHERE x.auID = ? AND x.opID = ? AND x.ID = ?",
                            op));
            QCOMPARE(sorted(rows), sorted(expected));
            QVERIFY(ordered(rows, 1));
        }
        QCOMPARE(lines(store::GetOperationUsers(m_connection, 101, 1, 503), {"usCod", "grCod"}),
                 QStringList({"ana|ADMIN", "ana|CONTAB", "dan|CONTAB"}));
        QVERIFY(lines(store::GetOperationUsers(m_connection, 103, 1, 503), {"usID"}).isEmpty());

        for (const int point : {41, 42, 43, 44}) {
            const QStringList rows = lines(store::GetWorkPointUsers(m_connection, point), {"usID", "grID"});
            const QStringList expected = lines(suite("SELECT ug.usID, gp.grID FROM admGrupPuncteLucru gp "
                                                     "JOIN AdmGrup g ON g.grID = gp.grID "
                                                     "JOIN admUserGrup ug ON ug.grID = gp.grID WHERE gp.IdPctLucru = ?",
                                                     {point}));
            QCOMPARE(sorted(rows), sorted(expected));
        }
    }

    // The report's rows of a user, a group and the whole suite, against the test's own join, in
    // user, company, module, operation and group order; and the number of users each goes through.
    void report_data() {
        QTest::addColumn<int>("scope");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("users");
        QTest::newRow("user") << int(ReportScope::User) << 31 << "u.usID = 31" << 1;
        QTest::newRow("group") << int(ReportScope::Group) << 22 << "g.grID = 22" << 2;
        QTest::newRow("suite") << int(ReportScope::Suite) << 0 << "1 = 1" << 3;
    }
    void report() {
        QFETCH(int, scope);
        QFETCH(int, id);
        QFETCH(QString, where);
        QFETCH(int, users);
        const auto reportScope = static_cast<ReportScope>(scope);
        const QStringList rows = lines(store::GetRightsReport(m_connection, reportScope, id),
                                       {"usCod", "Company", "mdDenumire", "opDenumire", "grCod", "usDenumire", "usID"});
        const QStringList expected =
            lines(suite("SELECT u.usCod, a.Name, m.mdDenumire, o.opDenumire, g.grCod, u.usDenumire, u.usID "
                        "FROM admUser u JOIN admUserGrup ug ON ug.usID = u.usID JOIN AdmGrup g ON g.grID = ug.grID "
                        "JOIN admGrupOperatii x ON x.grID = g.grID JOIN Authors a ON a.IdAuthor = x.auID "
                        "JOIN admOperatiiModul o ON o.opID = x.opID AND o.Id = x.ID "
                        "JOIN admModul m ON m.mdID = o.mdID WHERE " +
                        where));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(sorted(rows), sorted(expected));
        QVERIFY(ordered(rows, 5));
        db::RecordSet count = store::GetRightsReportUsers(m_connection, reportScope, id);
        QCOMPARE(count.field("Users").toInt(), users);
    }

    // Nothing the rights read changes a row.
    void readsWriteNothing() {
        const QStringList before = m_server->snapshot();
        lines(store::GetRightsReport(m_connection, ReportScope::Suite, 0), {"usCod"});
        lines(store::GetUserOperations(m_connection, 31, 101), {"opID"});
        lines(store::GetOperationUsers(m_connection, 101, 1, 503), {"usID"});
        QCOMPARE(m_server->snapshot(), before);
        // Over ODBC the reads went to the double, not to the files behind it.
        if (m_tds)
            QVERIFY(m_tds->requests() >= 3);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestRightsQueries embedded(false);
    TestRightsQueries overTds(true);
    const int failed = QTest::qExec(&embedded, argc, argv);
    return failed + QTest::qExec(&overTds, argc, argv);
}
#include "TestRightsQueries.moc"
