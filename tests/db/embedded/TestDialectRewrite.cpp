#include "support/TinyServer.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/embedded/DialectRewriter.h"

#include <QTest>

using db::DbError;
using db::DialectRewriter;

namespace {

const QString Catalogue = QStringLiteral("master");

// The tool's statement texts, built as the record queries, the stores and the brand settings
// build them (grID 5, auID 3, usID 7, IdPers 9, brand 12, company 3, signed-in user 1), each
// with the text SQLite is given (blanks compared collapsed).
struct Statement {
    QString tool;
    QString embedded;
};

QList<Statement> toolStatements() {
    const QString usersHead = QStringLiteral(" Select distinct u.*, p.IdPers, p.Nume, p.Prenume ") +
                              QStringLiteral(" From admUser u (nolock) ") +
                              QStringLiteral(" Left Join PSR_Pers p (nolock) On u.usID = p.usID ");
    const QString usersHeadSqlite = QStringLiteral(
        "Select distinct u.*, p.IdPers, p.Nume, p.Prenume From admUser u Left Join PSR_Pers p On u.usID = p.usID");
    const QString brands =
        QStringLiteral(" Select  a1.Name as Societate , ") + QStringLiteral("  f1.Brand as Brand , ") +
        QStringLiteral("  case when isAdministrator = 1 then 0 ") +
        QStringLiteral("       when isSupervizorBrand = 1 then 1 ") + QStringLiteral("       else 2 end ") +
        QStringLiteral("  as TipUser ") + QStringLiteral(" From ") + QStringLiteral("  CRM_User c1(nolock) ") +
        QStringLiteral("  inner join stk..FAZ_BRAND f1 (nolock) on c1.IdBrand = f1.IdBrand ") +
        QStringLiteral("  inner join CRM_Author c2 (nolock) on c1.IdBrand = c2.IdBrand ") +
        QStringLiteral("  inner join Authors a1 (nolock) on a1.IdAuthor = c2.IdAuthor ") +
        QStringLiteral(" Where c1.UserId = ") + QStringLiteral("7");
    const QString brandsSqlite =
        QStringLiteral("Select a1.Name as Societate , f1.Brand as Brand , case when isAdministrator = 1 then 0 when "
                       "isSupervizorBrand = 1 then 1 else 2 end as TipUser From CRM_User c1 inner join "
                       "stk.FAZ_BRAND f1 on c1.IdBrand = f1.IdBrand inner join CRM_Author c2 on c1.IdBrand = "
                       "c2.IdBrand inner join Authors a1 on a1.IdAuthor = c2.IdAuthor Where c1.UserId = 7");
    return {
        // Record queries.
        {QStringLiteral("Select * From AdmGrup (nolock) Order By GrCod"),
         QStringLiteral("Select * From AdmGrup Order By GrCod")},
        {QStringLiteral("Select * From AdmGrup (nolock) Where grID = ") + QStringLiteral("5") +
             QStringLiteral(" Order By GrCod"),
         QStringLiteral("Select * From AdmGrup Where grID = 5 Order By GrCod")},
        {QStringLiteral("Select * From AdmGrupAutor (nolock) Where grID = 5"),
         QStringLiteral("Select * From AdmGrupAutor Where grID = 5")},
        {QStringLiteral("Select * From AdmUserGrup (nolock) Where usID = 7"),
         QStringLiteral("Select * From AdmUserGrup Where usID = 7")},
        {QStringLiteral(" Select a1.opID , mdId , a1.Id   From AdmGrupOperatii a0(nolock)  inner join admOperatiiModul "
                        "a1(nolock)  on a0.opId = a1.opId and a0.Id = a1.Id  ") +
             QStringLiteral(" Where auID = ") + QStringLiteral("3") + QStringLiteral(" And grID = ") +
             QStringLiteral("5"),
         QStringLiteral("Select a1.opID , mdId , a1.Id From AdmGrupOperatii a0 inner join admOperatiiModul a1 on "
                        "a0.opId = a1.opId and a0.Id = a1.Id Where auID = 3 And grID = 5")},
        {usersHead + QStringLiteral(" Order By usCod"), usersHeadSqlite + QStringLiteral(" Order By usCod")},
        {usersHead + QStringLiteral(" Where u.usID = ") + QStringLiteral("7") + QStringLiteral(" Order By usCod"),
         usersHeadSqlite + QStringLiteral(" Where u.usID = 7 Order By usCod")},
        {QStringLiteral("Select * From Authors (nolock) Order By Name"),
         QStringLiteral("Select * From Authors Order By Name")},
        {QStringLiteral("Select * From admModul (nolock) Order By mdDenumire"),
         QStringLiteral("Select * From admModul Order By mdDenumire")},
        {QStringLiteral("Select * From admOperatiiModul (nolock) Order By opDenumire"),
         QStringLiteral("Select * From admOperatiiModul Order By opDenumire")},
        {QStringLiteral("Select * From PSR_Pers (nolock) Order By Nume, Prenume"),
         QStringLiteral("Select * From PSR_Pers Order By Nume, Prenume")},
        {QStringLiteral(" Select p.*, a.grID") + QStringLiteral(" From ordavia..PSR_PuncteLucru p (nolock) ") +
             QStringLiteral(" Left Join admGrupPuncteLucru a (nolock) On a.IdPctLucru = p.IdPctLucru And grID = ") +
             QStringLiteral("5") + QStringLiteral(" Where p.IdAuthor = ") + QStringLiteral("3") +
             QStringLiteral(" Order By Name "),
         QStringLiteral("Select p.*, a.grID From ordavia.PSR_PuncteLucru p Left Join admGrupPuncteLucru a On "
                        "a.IdPctLucru = p.IdPctLucru And grID = 5 Where p.IdAuthor = 3 Order By Name")},
        // User store.
        {QStringLiteral("Select max(usID) From AdmUser"), QStringLiteral("Select max(usID) From AdmUser")},
        {QStringLiteral("Select max(usID) From AdmUser WITH (UPDLOCK, HOLDLOCK)"),
         QStringLiteral("Select max(usID) From AdmUser")},
        {QStringLiteral("Select * From AdmUser Where usID = 7"),
         QStringLiteral("Select * From AdmUser Where usID = 7")},
        {QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = 7"),
         QStringLiteral("Update PSR_Pers Set usID = 0 Where usID = 7")},
        {QStringLiteral("Update PSR_Pers Set usID = 7 Where IdPers = 9"),
         QStringLiteral("Update PSR_Pers Set usID = 7 Where IdPers = 9")},
        {QStringLiteral(" Delete From admUserGrup Where usID = 7"),
         QStringLiteral("Delete From admUserGrup Where usID = 7")},
        {QStringLiteral(" Insert Into admUserGrup (usID,grID,IdOperator,DataAct)") + QStringLiteral(" Values (") +
             QStringLiteral("7,5,55,'03/07/2025')"),
         QStringLiteral("Insert Into admUserGrup (usID,grID,IdOperator,DataAct) Values (7,5,55,'2025-03-07')")},
        {QStringLiteral(" Delete From admUser Where usID = 7"), QStringLiteral("Delete From admUser Where usID = 7")},
        // Group store.
        {QStringLiteral("Select max(grID) From AdmGrup WITH (UPDLOCK, HOLDLOCK)"),
         QStringLiteral("Select max(grID) From AdmGrup")},
        {QStringLiteral("Select * From AdmGrup Where grID = 0"),
         QStringLiteral("Select * From AdmGrup Where grID = 0")},
        {QStringLiteral("Delete From admGrupAutor Where grID = 5 And auID = 3"),
         QStringLiteral("Delete From admGrupAutor Where grID = 5 And auID = 3")},
        {QStringLiteral("SELECT count(*) FROM master..sysDatabases WHERE name = N'stk'"),
         QStringLiteral("SELECT count(*) FROM master.sysDatabases WHERE name = 'stk'")},
        {QStringLiteral("Delete From admGrupPuncteLucru Where grID = 5 And IdPctLucru in (Select IdPctLucru From "
                        "stk..stk_PuncteLucru (nolock) Where IdAuthor = 3)"),
         QStringLiteral("Delete From admGrupPuncteLucru Where grID = 5 And IdPctLucru in (Select IdPctLucru From "
                        "stk.stk_PuncteLucru Where IdAuthor = 3)")},
        {QStringLiteral("Delete From admGrupOperatii Where grID = 5 And auID = 3"),
         QStringLiteral("Delete From admGrupOperatii Where grID = 5 And auID = 3")},
        {QStringLiteral(" Insert Into admGrupAutor (auID,grID,IdOperator,DataAct)") +
             QStringLiteral(" Values (3,5,55,'03/07/2025')"),
         QStringLiteral("Insert Into admGrupAutor (auID,grID,IdOperator,DataAct) Values (3,5,55,'2025-03-07')")},
        {QStringLiteral(" Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct)") +
             QStringLiteral(" Values (3,5,12,3,55,'03/07/2025')"),
         QStringLiteral("Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct) Values "
                        "(3,5,12,3,55,'2025-03-07')")},
        {QStringLiteral(" Select * From admGrupPuncteLucru Where grID = 5 And IdPctLucru = 7"),
         QStringLiteral("Select * From admGrupPuncteLucru Where grID = 5 And IdPctLucru = 7")},
        {QStringLiteral("Delete From admGrup Where grID = 5"), QStringLiteral("Delete From admGrup Where grID = 5")},
        {QStringLiteral("Delete From admGrupAutor Where grID = 5"),
         QStringLiteral("Delete From admGrupAutor Where grID = 5")},
        {QStringLiteral("Delete From admGrupOperatii Where grID = 5"),
         QStringLiteral("Delete From admGrupOperatii Where grID = 5")},
        {QStringLiteral("Delete From admUserGrup Where grID = 5"),
         QStringLiteral("Delete From admUserGrup Where grID = 5")},
        {QStringLiteral("Delete From stk..stk_cfgOperDrepturi Where grID = 5"),
         QStringLiteral("Delete From stk.stk_cfgOperDrepturi Where grID = 5")},
        // Brand settings.
        {QStringLiteral("Select * from stk..FAZ_Brand (nolock) order by 2"),
         QStringLiteral("Select * from stk.FAZ_Brand order by 2")},
        {QStringLiteral("Select * from Authors (nolock) order by 2"),
         QStringLiteral("Select * from Authors order by 2")},
        {brands, brandsSqlite},
        {QStringLiteral("Select *  from CRM_Author (nolock) where  IdBrand =") + QStringLiteral("12"),
         QStringLiteral("Select * from CRM_Author where IdBrand =12")},
        {QStringLiteral("INSERT INTO [CRM_Author]([IdAuthor], [IdBrand], [UserId], [DataAct]) ") +
             QStringLiteral(" VALUES(") + QStringLiteral("3") + QStringLiteral(", ") + QStringLiteral("12") +
             QStringLiteral(", ") + QStringLiteral("1") + QStringLiteral(", getdate()) "),
         QStringLiteral("INSERT INTO [CRM_Author]([IdAuthor], [IdBrand], [UserId], [DataAct]) VALUES(3, 12, 1, "
                        "getdate())")},
        {QStringLiteral("Delete from CRM_User where IdBrand = ") + QStringLiteral("12") +
             QStringLiteral(" and UserId = ") + QStringLiteral("7"),
         QStringLiteral("Delete from CRM_User where IdBrand = 12 and UserId = 7")},
        {QStringLiteral(" INSERT INTO [CRM_User]([UserId], [IdBrand], [isSupervizorBrand], [isAdministrator], "
                        "[DataAct]) ") +
             QStringLiteral(" VALUES(") + QStringLiteral("7, 12, 1, 1") + QStringLiteral(", getdate()) "),
         QStringLiteral("INSERT INTO [CRM_User]([UserId], [IdBrand], [isSupervizorBrand], [isAdministrator], "
                        "[DataAct]) VALUES(7, 12, 1, 1, getdate())")},
    };
}

QStringList schema() {
    return {QStringLiteral("CREATE TABLE AdmGrup (grID int, grCod text, grDenumire text, grobs text, IdOperator int, "
                           "DataAct datetime)"),
            QStringLiteral("CREATE TABLE admGrupAutor (auID int, grID int, IdOperator int, DataAct date)"),
            QStringLiteral("CREATE TABLE admUserGrup (usID int, grID int, IdOperator int, DataAct date)"),
            QStringLiteral("CREATE TABLE admGrupOperatii (auID int, grID int, opID int, ID int, IdOperator int, "
                           "DataAct date)"),
            QStringLiteral("CREATE TABLE admModul (mdID int, mdDenumire text)"),
            QStringLiteral("CREATE TABLE admOperatiiModul (opID int, mdID int, Id int, opDenumire text, opIdParinte "
                           "int)"),
            QStringLiteral("CREATE TABLE admUser (usID int, usCod text, usDenumire text, usDomeniu text, usAlias "
                           "text, IdOperator int, DataAct datetime)"),
            QStringLiteral("CREATE TABLE PSR_Pers (IdPers int, Nume text, Prenume text, usID int)"),
            QStringLiteral("CREATE TABLE Authors (IdAuthor int, Name text, NickName text)"),
            QStringLiteral("CREATE TABLE admGrupPuncteLucru (grID int, IdPctLucru int)"),
            QStringLiteral("CREATE TABLE CRM_User (UserId int, IdBrand int, isSupervizorBrand int, isAdministrator "
                           "int, DataAct datetime)"),
            QStringLiteral("CREATE TABLE CRM_Author (IdAuthor int, IdBrand int, UserId int, DataAct datetime)"),
            QStringLiteral("INSERT INTO AdmGrup VALUES (5, 'G5', 'Group five', NULL, 55, NULL)"),
            QStringLiteral("INSERT INTO admUser VALUES (7, 'ion', 'Ion', 'dom', 'alias', 55, NULL)"),
            QStringLiteral("INSERT INTO PSR_Pers VALUES (9, 'Pop', 'Ion', 0)"),
            QStringLiteral("INSERT INTO Authors VALUES (3, 'Company', 'Co')"),
            QStringLiteral("INSERT INTO admModul VALUES (1, 'Module')"),
            QStringLiteral("INSERT INTO admOperatiiModul VALUES (12, 1, 3, 'Operation', NULL)")};
}

} // namespace

class TestDialectRewrite : public QObject {
    Q_OBJECT

private slots:
    void toolStatementsAreRewritten() {
        for (const Statement& s : toolStatements())
            QCOMPARE(DialectRewriter::rewrite(s.tool, Catalogue).simplified(), s.embedded);
    }

    void quotedTextIsLeftAlone() {
        const QString sql = QStringLiteral("Select * From t (nolock) Where a = 'x..y (nolock) N''z'' [p]]q]' And b = "
                                           "N'it''s  ' And c = \"stk..T\" -- (nolock) stk..T\n");
        QCOMPARE(DialectRewriter::rewrite(sql, Catalogue),
                 QStringLiteral("Select * From t   Where a = 'x..y (nolock) N''z'' [p]]q]' And b = 'it''s  ' And c = "
                                "\"stk..T\" -- (nolock) stk..T\n"));
        QCOMPARE(DialectRewriter::rewrite(QStringLiteral("Select 'a;b' From t;"), Catalogue),
                 QStringLiteral("Select 'a;b' From t;"));
    }

    void bracketsWithDoubledClosersBecomeQuotedNames() {
        QCOMPARE(DialectRewriter::rewrite(QStringLiteral("Select [a]]b], [c`d]]] From [t]"), Catalogue),
                 QStringLiteral("Select `a]b`, `c``d]` From [t]"));
    }

    void onlyDatesInInsertValuesChange() {
        const QStringList unchanged = {
            QStringLiteral("Update t Set d = '03/07/2025'"),
            QStringLiteral("Select * From t Where d = '03/07/2025'"),
            QStringLiteral("Insert Into t (a) Values ('13/45/2025')"),
            QStringLiteral("Insert Into t (a) Values ('3/7/2025')"),
            QStringLiteral("Insert Into t (a) Values ('03/07/2025 10:00')"),
            QStringLiteral("Insert Into t (a) Values ('x03/07/2025')"),
            QStringLiteral("Insert Into t (a) Values ('20251307')"),
            QStringLiteral("Insert Into t (a) Values ('2025030')"),
            QStringLiteral("Select * From t Where d = '20250307'"),
        };
        for (const QString& sql : unchanged)
            QCOMPARE(DialectRewriter::rewrite(sql, Catalogue), sql);
        QCOMPARE(
            DialectRewriter::rewrite(QStringLiteral("insert into t values ('02/29/2024', N'12/31/1999')"), Catalogue),
            QStringLiteral("insert into t values ('2024-02-29', '1999-12-31')"));
        QCOMPARE(
            DialectRewriter::rewrite(QStringLiteral("Insert Into t (a, b) Values ('20250307', '20240229')"), Catalogue),
            QStringLiteral("Insert Into t (a, b) Values ('2025-03-07', '2024-02-29')"));
    }

    void catalogueNamesFollowTheCatalogueSchema() {
        QCOMPARE(
            DialectRewriter::rewrite(QStringLiteral("SELECT name FROM master..sysDatabases"), QStringLiteral("main")),
            QStringLiteral("SELECT name FROM main.sysDatabases"));
        QCOMPARE(DialectRewriter::rewrite(QStringLiteral("SELECT * FROM sys.server_principals WHERE name = N'a'"),
                                          Catalogue),
                 QStringLiteral("SELECT * FROM master.server_principals WHERE name = 'a'"));
        QCOMPARE(
            DialectRewriter::rewrite(QStringLiteral("SELECT * FROM SYS.Server_Principals"), QStringLiteral("main")),
            QStringLiteral("SELECT * FROM main.Server_Principals"));
    }

    void hintsNeedATableBeforeThem() {
        // A parenthesis that is not a table's hint list stays.
        for (const QString& sql :
             {QStringLiteral("Select count(nolock) From t"), QStringLiteral("Select * From t Where a in (nolock)"),
              QStringLiteral("Select (nolock) From t"), QStringLiteral("Insert Into t (nolock) Values (1)"),
              QStringLiteral("Select * From t Where a in (1, 2)")})
            QCOMPARE(DialectRewriter::rewrite(sql, Catalogue), sql);
        const QList<std::pair<QString, QString>> dropped = {
            {QStringLiteral("Select * From t WITH (NOLOCK) Where a = 1"),
             QStringLiteral("Select * From t Where a = 1")},
            {QStringLiteral("Select * From t as x(nolock)"), QStringLiteral("Select * From t as x")},
            {QStringLiteral("Update stk..T WITH (ROWLOCK) Set a = 1"), QStringLiteral("Update stk.T Set a = 1")},
            {QStringLiteral("Insert Into T WITH (TABLOCK) Values (1)"), QStringLiteral("Insert Into T Values (1)")},
        };
        for (const auto& [sql, expected] : dropped)
            QCOMPARE(DialectRewriter::rewrite(sql, Catalogue).simplified(), expected);
    }

    void moreThanOneStatementIsRefused() {
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 DialectRewriter::rewrite(QStringLiteral("Delete From a; Delete From b"), Catalogue));
    }

    void everyToolStatementRunsOnTheEmbeddedServer() {
        TinyServer server;
        server.createDatabase(QStringLiteral("suite"), schema());
        server.createDatabase(QStringLiteral("ordavia"),
                              {QStringLiteral("CREATE TABLE PSR_PuncteLucru (IdPctLucru int, IdAuthor int, Name text)"),
                               QStringLiteral("INSERT INTO PSR_PuncteLucru VALUES (7, 3, 'Shop'), (8, 3, 'Depot')")});
        server.createDatabase(QStringLiteral("stk"),
                              {QStringLiteral("CREATE TABLE stk_PuncteLucru (IdPctLucru int, IdAuthor int)"),
                               QStringLiteral("CREATE TABLE stk_cfgOperDrepturi (grID int)"),
                               QStringLiteral("CREATE TABLE FAZ_Brand (IdBrand int, Brand text)"),
                               QStringLiteral("INSERT INTO FAZ_Brand VALUES (12, 'Brand')")});
        auto c = db::Connection::open(server.connectionString());
        // The inserts come after the deletes in the list; run them all, then read results.
        c->execute(QStringLiteral("Insert Into admGrupPuncteLucru (grID, IdPctLucru) Values (5, 8)"));
        for (const Statement& s : toolStatements()) {
            try {
                c->query(s.tool);
            } catch (const DbError& e) {
                QFAIL(qPrintable(s.tool + QLatin1String(" -> ") + e.description()));
            }
        }
        auto find = [](const char* part) {
            for (const Statement& s : toolStatements())
                if (s.tool.contains(QLatin1String(part)))
                    return s.tool;
            return QString();
        };
        const auto roles = c->query(find("as TipUser"));
        QCOMPARE(roles.columns,
                 (QStringList{QStringLiteral("Societate"), QStringLiteral("Brand"), QStringLiteral("TipUser")}));
        QCOMPARE(roles.rows.size(), 1);
        QCOMPARE(roles.rows.at(0).at(2).toInt(), 0);
        const auto points = c->query(find("PSR_PuncteLucru p"));
        QCOMPARE(points.rows.size(), 2);
        QCOMPARE(points.rows.at(0).at(2).toString(), QStringLiteral("Depot")); // granted to group 5
        QCOMPARE(points.rows.at(0).last().toInt(), 5);
        QVERIFY(points.rows.at(1).last().isNull());
    }
};

QTEST_GUILESS_MAIN(TestDialectRewrite)
#include "TestDialectRewrite.moc"
