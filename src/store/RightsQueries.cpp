#include "store/RightsQueries.h"

#include "store/StoreSupport.h"

namespace store {

using support::number;

namespace {

// Every rights read is read through once: its rows come from the server as the reader moves.
db::RecordSet openOn(const std::shared_ptr<db::Connection>& connection, const QString& sql) {
    db::RecordSet set;
    set.open(sql, connection, db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
    return set;
}

// The operations granted to the groups joined as ug, with their catalogue rows, for one company:
// admGrupOperatii is searched by IX_admGrupOperatii_grID (grID, auID), the catalogue by
// IX_admOperatiiModul_key.
const QString GrantedOperations = QStringLiteral(" inner join admGrupOperatii gop (nolock) On gop.grID = ug.grID"
                                                 " inner join admOperatiiModul o (nolock)"
                                                 " On o.opID = gop.opID And o.Id = gop.ID");

// The users of the groups joined as g, through their memberships (IX_admUserGrup_grID).
const QString GroupMembers = QStringLiteral(" inner join admUserGrup ug (nolock) On ug.grID = g.grID"
                                            " inner join admUser u (nolock) On u.usID = ug.usID");

// The operations a user's groups (ug.usID) grant, through groups that exist, with their catalogue
// rows and modules: what the effective rights show of a company.
const QString UserOperationsFrom = QStringLiteral(" From admUserGrup ug (nolock)"
                                                  " inner join AdmGrup g (nolock) On g.grID = ug.grID") +
                                   GrantedOperations +
                                   QStringLiteral(" inner join admModul m (nolock) On m.mdID = o.mdID");

// The work points a user's groups (ug.usID) grant, through groups that exist (admGrupPuncteLucru is
// searched by IX_admGrupPuncteLucru_grID, the work point by its key).
const QString UserWorkPointsFrom = QStringLiteral(" From admUserGrup ug (nolock)"
                                                  " inner join AdmGrup g (nolock) On g.grID = ug.grID"
                                                  " inner join admGrupPuncteLucru gp (nolock) On gp.grID = ug.grID"
                                                  " inner join ordavia..PSR_PuncteLucru p (nolock)"
                                                  " On p.IdPctLucru = gp.IdPctLucru");

const QString UsersAndGroupsColumns = QStringLiteral(" Select u.usID, u.usCod, u.usDenumire, g.grID, g.grCod");
const QString ByUserThenGroup = QStringLiteral(" Order By u.usCod, u.usID, g.grCod, g.grID");

} // namespace

db::RecordSet GetUserCompanies(const std::shared_ptr<db::Connection>& connection, int usID) {
    // A company counts when one of the user's groups holds an operation of it (admGrupOperatii, not
    // admGrupAutor: the operations are what the user may run) or a work point of it, as the
    // company's operations and work points below show them: no company is offered that would show
    // nothing.
    const QString sql = QStringLiteral(" Select a.IdAuthor, a.Name From Authors a (nolock)"
                                       " Where a.IdAuthor In (Select gop.auID") +
                        UserOperationsFrom + QStringLiteral(" Where ug.usID = ") + number(usID) +
                        QStringLiteral(") Or a.IdAuthor In (Select p.IdAuthor") + UserWorkPointsFrom +
                        QStringLiteral(" Where ug.usID = ") + number(usID) +
                        QStringLiteral(") Order By a.Name, a.IdAuthor");
    return openOn(connection, sql);
}

db::RecordSet GetUserOperations(const std::shared_ptr<db::Connection>& connection, int usID, int auID) {
    const QString sql = QStringLiteral(" Select o.mdID, m.mdDenumire, o.opID, o.Id, o.opDenumire, g.grID, g.grCod") +
                        UserOperationsFrom + QStringLiteral(" Where ug.usID = ") + number(usID) +
                        QStringLiteral(" And gop.auID = ") + number(auID) +
                        QStringLiteral(" Order By m.mdDenumire, o.mdID, o.opDenumire, o.opID, o.Id, g.grCod, g.grID");
    return openOn(connection, sql);
}

db::RecordSet GetUserModuleSizes(const std::shared_ptr<db::Connection>& connection, int usID, int auID) {
    // Only the modules the user reaches are counted, each through IX_admOperatiiModul_mdID.
    const QString sql = QStringLiteral(" Select c.mdID, count(*) As opCount From admOperatiiModul c (nolock)"
                                       " Where c.mdID In (Select o.mdID From admUserGrup ug (nolock)") +
                        GrantedOperations + QStringLiteral(" Where ug.usID = ") + number(usID) +
                        QStringLiteral(" And gop.auID = ") + number(auID) + QStringLiteral(") Group By c.mdID");
    return openOn(connection, sql);
}

db::RecordSet GetUserWorkPoints(const std::shared_ptr<db::Connection>& connection, int usID, int auID) {
    const QString sql = QStringLiteral(" Select p.IdPctLucru, p.Name, g.grID, g.grCod") + UserWorkPointsFrom +
                        QStringLiteral(" Where ug.usID = ") + number(usID) + QStringLiteral(" And p.IdAuthor = ") +
                        number(auID) + QStringLiteral(" Order By p.Name, p.IdPctLucru, g.grCod, g.grID");
    return openOn(connection, sql);
}

db::RecordSet GetOperationUsers(const std::shared_ptr<db::Connection>& connection, int auID, int opID, int Id) {
    // The grants of the operation are searched by IX_admGrupOperatii_op (opID, ID), across
    // companies, and kept for the one company.
    const QString sql = UsersAndGroupsColumns +
                        QStringLiteral(" From admGrupOperatii gop (nolock)"
                                       " inner join AdmGrup g (nolock) On g.grID = gop.grID") +
                        GroupMembers + QStringLiteral(" Where gop.opID = ") + number(opID) +
                        QStringLiteral(" And gop.ID = ") + number(Id) + QStringLiteral(" And gop.auID = ") +
                        number(auID) + ByUserThenGroup;
    return openOn(connection, sql);
}

db::RecordSet GetWorkPointUsers(const std::shared_ptr<db::Connection>& connection, int IdPctLucru) {
    // The groups holding the work point are searched by IX_admGrupPuncteLucru_pct.
    const QString sql = UsersAndGroupsColumns +
                        QStringLiteral(" From admGrupPuncteLucru gp (nolock)"
                                       " inner join AdmGrup g (nolock) On g.grID = gp.grID") +
                        GroupMembers + QStringLiteral(" Where gp.IdPctLucru = ") + number(IdPctLucru) + ByUserThenGroup;
    return openOn(connection, sql);
}

db::RecordSet GetRightsReportUsers(const std::shared_ptr<db::Connection>& connection, ReportScope scope, int id) {
    QString sql;
    switch (scope) {
    case ReportScope::User:
        sql = QStringLiteral(" Select count(*) As Users From admUser (nolock) Where usID = ") + number(id);
        break;
    case ReportScope::Group:
        sql = QStringLiteral(" Select count(Distinct usID) As Users From admUserGrup (nolock) Where grID = ") +
              number(id);
        break;
    case ReportScope::Suite:
        sql = QStringLiteral(" Select count(Distinct usID) As Users From admUserGrup (nolock)");
        break;
    }
    return openOn(connection, sql);
}

QString RightsReportStatement(ReportScope scope, int id) {
    const QString columns = QStringLiteral(" Select u.usCod, u.usDenumire, a.Name As Company, m.mdDenumire,"
                                           " o.opDenumire, g.grCod, u.usID, a.IdAuthor, o.opID, o.Id, g.grID");
    const QString order = QStringLiteral(" Order By u.usCod, u.usID, a.Name, a.IdAuthor, m.mdDenumire, m.mdID,"
                                         " o.opDenumire, o.opID, o.Id, g.grCod, g.grID");
    if (scope == ReportScope::Suite) {
        // The whole suite streams: its joins are written as cross joins with their conditions in the
        // Where clause, the same inner join for SQL Server, and for the embedded server (SQLite keeps
        // the order of cross joins) the one order that walks the users by code through
        // IX_admUser_usCod and sorts the rows of one user at a time, in bounded memory. Joined as
        // inner joins, SQLite starts from the grants and sorts every row of the suite at once.
        return columns +
               QStringLiteral(" From admUser u (nolock) cross join admUserGrup ug (nolock)"
                              " cross join AdmGrup g (nolock) cross join admGrupOperatii gop (nolock)"
                              " cross join admOperatiiModul o (nolock) cross join Authors a (nolock)"
                              " cross join admModul m (nolock)"
                              " Where ug.usID = u.usID And g.grID = ug.grID And gop.grID = ug.grID"
                              " And o.opID = gop.opID And o.Id = gop.ID And a.IdAuthor = gop.auID"
                              " And m.mdID = o.mdID") +
               order;
    }
    // One user or one group: the server starts from that user's or group's memberships and sorts
    // their rows.
    return columns +
           QStringLiteral(" From admUser u (nolock)"
                          " inner join admUserGrup ug (nolock) On ug.usID = u.usID"
                          " inner join AdmGrup g (nolock) On g.grID = ug.grID") +
           GrantedOperations +
           QStringLiteral(" inner join Authors a (nolock) On a.IdAuthor = gop.auID"
                          " inner join admModul m (nolock) On m.mdID = o.mdID") +
           (scope == ReportScope::User ? QStringLiteral(" Where u.usID = ") : QStringLiteral(" Where ug.grID = ")) +
           number(id) + order;
}

db::RecordSet GetRightsReport(const std::shared_ptr<db::Connection>& connection, ReportScope scope, int id) {
    db::RecordSet set;
    set.open(RightsReportStatement(scope, id), connection, db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
    return set;
}

} // namespace store
