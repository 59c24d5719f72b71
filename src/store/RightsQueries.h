#pragma once

#include "db/Connection.h"
#include "db/RecordSet.h"

#include <QString>
#include <memory>

// The reads behind the questions an administrator asks of the rights: what one user may do
// through all its groups, who may run one operation or use one work point, and the report of
// who can do what. Nothing here writes. Each read runs one SELECT of its own on the connection it
// is given (an operation takes its connection once, with db::ReplaceSharedConnection(), and passes
// it on) and returns the open record set; any failure is raised unchanged. The statements are
// plain T-SQL that the embedded server runs as well: table hints, three-part names of the ordavia
// database, no text joined with "+". The reads "once per group" give a row twice where the suite
// lists a membership or a grant twice; such rows follow each other, and readers skip the repeat
// (a Distinct would cost the server a second sort).
namespace store {

// What a rights report covers: one user, the members of one group, or every user of the suite.
enum class ReportScope { User, Group, Suite };

// The companies in which user usID may run an operation or use a work point through any of its
// groups: IdAuthor, Name; ordered by Name.
db::RecordSet GetUserCompanies(const std::shared_ptr<db::Connection>& connection, int usID);

// The operations user usID may run in company auID, once per group that grants it: mdID,
// mdDenumire, opID, Id, opDenumire, grID, grCod; ordered by module name, operation name, group
// code (ids break ties), so the rows of one operation follow each other.
db::RecordSet GetUserOperations(const std::shared_ptr<db::Connection>& connection, int usID, int auID);

// How many operations the catalogue holds in each module of which user usID may run an operation
// in company auID: mdID, opCount.
db::RecordSet GetUserModuleSizes(const std::shared_ptr<db::Connection>& connection, int usID, int auID);

// The work points of company auID that user usID may use, once per group that grants it:
// IdPctLucru, Name, grID, grCod; ordered by work point name, then group code.
db::RecordSet GetUserWorkPoints(const std::shared_ptr<db::Connection>& connection, int usID, int auID);

// The users who may run operation (opID, Id) in company auID, once per group that gives it to
// them: usID, usCod, usDenumire, grID, grCod; ordered by user code, then group code.
db::RecordSet GetOperationUsers(const std::shared_ptr<db::Connection>& connection, int auID, int opID, int Id);

// The users who may use work point IdPctLucru, once per group that gives it to them; the columns
// and order of GetOperationUsers.
db::RecordSet GetWorkPointUsers(const std::shared_ptr<db::Connection>& connection, int IdPctLucru);

// The number of users a report of scope (id: the usID or grID; ignored for the suite) goes
// through: the users in at least one group (of group id), one for a user. One row, column Users.
db::RecordSet GetRightsReportUsers(const std::shared_ptr<db::Connection>& connection, ReportScope scope, int id);

// The rows of a rights report, one per user, company, operation and group that grants it: usCod,
// usDenumire, Company, mdDenumire, opDenumire, grCod, in that order, plus the ids usID, IdAuthor,
// opID, Id and grID; ordered by user code, company, module, operation and group. The set is
// forward-only and read-only: its rows come from the server as it moves, so that the report of a
// whole suite is never held in memory.
db::RecordSet GetRightsReport(const std::shared_ptr<db::Connection>& connection, ReportScope scope, int id);

// The statement text GetRightsReport runs, for the benchmark's floor.
QString RightsReportStatement(ReportScope scope, int id);

} // namespace store
