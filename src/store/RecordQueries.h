#pragma once

#include "db/DbError.h"
#include "db/RecordSet.h"

#include <optional>

// The read operations from which the window fills its lists, tree and editors. Each one
// replaces the shared connection with a fresh one, runs one SELECT and returns the open
// record set; any failure is raised unchanged (GetWorkPoints excepted, see below). The reads of
// whole tables (all groups, all users, companies, modules, operations, persons) are forward-only
// and read-only sets that read their rows as they move.
namespace store {

db::RecordSet GetGroups(int grID); // 0: all groups
db::RecordSet GetGroupAuthors(int grID);
db::RecordSet GetUserGroups(int usID);
db::RecordSet GetGroupOperations(int auID, int grID);
db::RecordSet GetUsers(int usID); // 0: all users, with the person joined
db::RecordSet GetAuthors();
db::RecordSet GetModules();
db::RecordSet GetOperations();
db::RecordSet GetPersons();
// A failure of the final open is not raised: the set comes back closed (isOpen() false) and,
// when failure is given, the error is kept there (it is emptied when the open succeeds).
db::RecordSet GetWorkPoints(int IdAuthor, int grID, std::optional<db::DbError>* failure = nullptr);

} // namespace store
