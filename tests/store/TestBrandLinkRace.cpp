#include "db/Connection.h"
#include "db/SharedConnection.h"
#include "store/BrandRoleStore.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"

#include <QProcess>
#include <QtTest>

// Two processes save roles for the same new brands at the same time, each choosing its own
// company: every brand ends up linked to exactly one company, and each process is told when the
// brand went to the other one.
namespace {

constexpr int Brands = 100;

// The roles of user usID, as the window lists them before a save.
QList<store::ListedBrandRole> rolesOf(int usID) {
    QList<store::ListedBrandRole> roles;
    for (db::RecordSet set = store::GetUserBrands(usID); !set.eof(); set.moveNext())
        roles.append({set.field("Societate").toString(), set.field("Brand").toString(), set.field("TipUser").toInt()});
    return roles;
}

// The child's work: roles for brands 1 to Brands for user usID (code usCod), under company IdAuthor.
int saveBrands(const QString& connectionString, int IdAuthor, int usID, const QString& usCod) {
    db::setConnectionOpener([connectionString] { return db::Connection::open(connectionString); });
    int refused = 0;
    for (int brand = 1; brand <= Brands; ++brand) {
        const store::BrandRoleOutcome outcome =
            store::StoreBrandRole(IdAuthor, brand, usID, usCod, rolesOf(usID), false, false, 1);
        // Only the other company's link may refuse a role here.
        if (!outcome.stored && outcome.otherCompanies.isEmpty())
            return 101;
        refused += outcome.stored ? 0 : 1;
    }
    db::SharedConnection().reset();
    return refused;
}

} // namespace

class TestBrandLinkRace : public QObject {
    Q_OBJECT

private slots:
    void eachBrandIsLinkedOnce() {
        TempServer server;
        FixtureRows rows(server);
        rows.author(1, "Brad").author(2, "Stejar").user(5, "ana").user(6, "dan");
        for (int brand = 1; brand <= Brands; ++brand)
            server.exec("stk", "INSERT INTO FAZ_Brand (IdBrand, Brand) VALUES (?, ?)",
                        {brand, "Marca " + QString::number(brand)});

        QList<QProcess*> children;
        for (const auto& [company, user, code] : {std::tuple{1, 5, "ana"}, std::tuple{2, 6, "dan"}}) {
            auto* child = new QProcess(this);
            child->start(
                QCoreApplication::applicationFilePath(),
                {"--save-brands", server.connectionString(), QString::number(company), QString::number(user), code});
            children << child;
        }
        int refused = 0;
        for (QProcess* child : children) {
            QVERIFY(child->waitForFinished(60000));
            QCOMPARE(child->exitStatus(), QProcess::NormalExit);
            refused += child->exitCode();
        }
        QCOMPARE(server.value("suitedb", "SELECT count(*) FROM CRM_Author").toInt(), Brands);
        QCOMPARE(server.value("suitedb", "SELECT count(DISTINCT IdBrand) FROM CRM_Author").toInt(), Brands);
        // The roles stored are exactly those under the company that won the brand.
        QCOMPARE(server.value("suitedb", "SELECT count(*) FROM CRM_User").toInt(), 2 * Brands - refused);
        QCOMPARE(server
                     .value("suitedb", "SELECT count(*) FROM CRM_User u JOIN CRM_Author a ON a.IdBrand = u.IdBrand "
                                       "WHERE a.IdAuthor = CASE u.UserId WHEN 5 THEN 1 ELSE 2 END")
                     .toInt(),
                 2 * Brands - refused);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 6 && arguments.at(1) == QLatin1String("--save-brands")) {
        try {
            return saveBrands(arguments.at(2), arguments.at(3).toInt(), arguments.at(4).toInt(), arguments.at(5));
        } catch (const std::exception& e) {
            qCritical("%s", e.what());
            return 100;
        }
    }
    TestBrandLinkRace test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestBrandLinkRace.moc"
