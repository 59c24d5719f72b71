#include "BenchTargets.h"

#include "SuiteGenerator.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <stdexcept>

namespace {

const QString ConnectionName = QStringLiteral("bench-targets");

QSqlQuery firstRow(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next())
        throw std::runtime_error("the suite has no row for: " + sql.toStdString() + " " +
                                 query.lastError().text().toStdString());
    return query;
}

} // namespace

BenchTargets BenchTargets::pick(const QString& directory, const QString& database) {
    BenchTargets t;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
        db.setDatabaseName(QDir(directory).filePath(database + QStringLiteral(".db")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            throw std::runtime_error("cannot open the suite: " + db.lastError().text().toStdString());
        QSqlQuery attach(db);
        if (!attach.exec(QStringLiteral("ATTACH DATABASE '%1' AS ordavia").arg(QDir(directory).filePath("ordavia.db"))))
            throw std::runtime_error("cannot attach ordavia: " + attach.lastError().text().toStdString());

        // The clicks show as much at every suite size, so that their times tell how the window
        // scales with the suite rather than with what one click shows: the largest company and
        // module of at most the sizes the largest ones have in the 20,000-user suite.
        QSqlQuery q = firstRow(db, QStringLiteral("SELECT IdAuthor, count(*) AS n FROM ordavia.PSR_PuncteLucru "
                                                  "GROUP BY IdAuthor HAVING n <= %1 ORDER BY n DESC, IdAuthor LIMIT 1")
                                       .arg(MostWorkPoints));
        t.author = q.value(0).toInt();
        t.authorWorkPoints = q.value(1).toInt();

        q = firstRow(db, QStringLiteral("SELECT g.grID, g.grCod FROM admGrupAutor a JOIN AdmGrup g ON g.grID = a.grID "
                                        "WHERE a.auID = %1 ORDER BY g.grID LIMIT 1")
                             .arg(t.author));
        t.group = q.value(0).toInt();
        t.groupCode = q.value(1).toString();

        q = firstRow(db, QStringLiteral("SELECT mdID, count(*) AS n FROM admOperatiiModul GROUP BY mdID "
                                        "HAVING n <= %1 ORDER BY n DESC, mdID LIMIT 1")
                             .arg(MostModuleOperations));
        t.module = q.value(0).toInt();
        t.moduleOperations = q.value(1).toInt();

        q = firstRow(db,
                     QStringLiteral("SELECT m.mdID, (SELECT count(*) FROM admOperatiiModul o WHERE o.mdID = m.mdID) "
                                    "FROM admModul m WHERE m.mdDenumire = '%1' UNION ALL SELECT 0, 0")
                         .arg(QLatin1String(SuiteGenerator::LargeModuleName)));
        t.largeModule = q.value(0).toInt();
        t.largeModuleOperations = q.value(1).toInt();
        if (t.largeModule == 0)
            throw std::runtime_error(std::string("the suite has no module \"") + SuiteGenerator::LargeModuleName +
                                     "\": make it again with this talvane-gensuite");

        // The rights views' group is left out: its members are not the users with the most groups.
        const int rightsGroup =
            firstRow(db, QStringLiteral("SELECT coalesce(max(grID), 0) FROM AdmGrup WHERE grCod = '%1'")
                             .arg(QLatin1String(SuiteGenerator::RightsGroupCode)))
                .value(0)
                .toInt();
        if (rightsGroup == 0)
            throw std::runtime_error("the suite has no rows for the rights views (group " +
                                     std::string(SuiteGenerator::RightsGroupCode) +
                                     "): make it again with this talvane-gensuite");
        q = firstRow(db, QStringLiteral("SELECT u.usID, u.usCod FROM admUser u "
                                        "WHERE EXISTS (SELECT 1 FROM PSR_Pers p WHERE p.usID = u.usID) "
                                        "AND EXISTS (SELECT 1 FROM CRM_User c WHERE c.UserId = u.usID) "
                                        "ORDER BY (SELECT count(*) FROM admUserGrup m WHERE m.usID = u.usID "
                                        "AND m.grID <> %1) DESC, u.usID LIMIT 1")
                             .arg(rightsGroup));
        t.user = q.value(0).toInt();
        t.userCode = q.value(1).toString();

        q = firstRow(db, QStringLiteral("SELECT (SELECT count(*) FROM admUser), (SELECT count(*) FROM AdmGrup), "
                                        "(SELECT count(*) FROM admModul) + (SELECT count(*) FROM admOperatiiModul)"));
        t.users = q.value(0).toInt();
        t.groups = q.value(1).toInt();
        t.treeNodes = q.value(2).toInt();

        q = firstRow(db, QStringLiteral("SELECT g.grID FROM admGrupAutor a JOIN AdmGrup g ON g.grID = a.grID "
                                        "WHERE a.auID = %1 AND g.grID <> %2 ORDER BY g.grID LIMIT 1")
                             .arg(t.author)
                             .arg(t.group));
        t.saveGroup = q.value(0).toInt();
        t.spareGroup = firstRow(db, QStringLiteral("SELECT max(grID) + 1000 FROM AdmGrup")).value(0).toInt();

        q = firstRow(db, QStringLiteral("SELECT u.usID, x.auID, count(DISTINCT x.opID || '/' || x.ID) AS n "
                                        "FROM admUser u JOIN admUserGrup m ON m.usID = u.usID "
                                        "JOIN admGrupOperatii x ON x.grID = m.grID WHERE u.usCod = '%1' "
                                        "GROUP BY x.auID ORDER BY n DESC, x.auID LIMIT 1")
                             .arg(QLatin1String(SuiteGenerator::RightsUserCode)));
        t.rightsUser = q.value(0).toInt();
        t.rightsUserCompany = q.value(1).toInt();
        t.rightsUserOperations = q.value(2).toInt();
        q = firstRow(db, QStringLiteral("SELECT x.auID, x.opID, o.mdID, x.ID, "
                                        "(SELECT count(DISTINCT m.usID) FROM admGrupOperatii y "
                                        "JOIN admUserGrup m ON m.grID = y.grID WHERE y.auID = x.auID "
                                        "AND y.opID = x.opID AND y.ID = x.ID) "
                                        "FROM admGrupOperatii x JOIN admOperatiiModul o ON o.opID = x.opID "
                                        "AND o.Id = x.ID WHERE x.grID = %1")
                             .arg(rightsGroup));
        t.rightsCompany = q.value(0).toInt();
        t.rightsOperationKey =
            QStringLiteral("k%1#$#%2#$#%3").arg(q.value(1).toInt()).arg(q.value(2).toInt()).arg(q.value(3).toInt());
        t.rightsOperationUsers = q.value(4).toInt();
    }
    QSqlDatabase::removeDatabase(ConnectionName);
    t.directory = directory;
    t.database = database;
    return t;
}
