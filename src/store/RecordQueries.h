#pragma once

#include "db/RecordSet.h"

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
// A failure of the final open is not raised: the set comes back closed (isOpen() false).
db::RecordSet GetWorkPoints(int IdAuthor, int grID);

} // namespace store
