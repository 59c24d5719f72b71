#pragma once

#include <QString>
#include <optional>

namespace db {

// The table and filter of a "Select * From <table> [hint] [Where <filter>] [Order By ...]"
// statement: the one shape of record set whose rows can be written back.
struct SingleTableSelect {
    QString table;  // as written, e.g. "AdmGrup", "[CRM_User]", "stk..FAZ_Brand"
    QString filter; // the text after Where (before any Order By), empty when there is none

    // nullopt for any other statement shape (joins, column lists, aliases, grouping, ...).
    static std::optional<SingleTableSelect> parse(const QString& sql);
};

} // namespace db
