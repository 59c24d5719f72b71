#include "store/RecordQueries.h"

#include "db/ErrorModes.h"
#include "db/SharedConnection.h"
#include "store/StoreSupport.h"

namespace store {

using support::number;

namespace {

// Every query works on a fresh connection, which becomes the shared one; the set keeps it alive.
db::RecordSet openOnFreshConnection(const QString& sql) {
    db::RecordSet set;
    set.open(sql, db::ReplaceSharedConnection());
    return set;
}

// The whole-table reads that fill the lists are only read through once: their rows come from the
// server as the filler moves, and none is kept.
db::RecordSet openForReading(const QString& sql) {
    db::RecordSet set;
    set.open(sql, db::ReplaceSharedConnection(), db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
    return set;
}

const QString UsersHead = QStringLiteral(" Select distinct u.*, p.IdPers, p.Nume, p.Prenume ") +
                          QStringLiteral(" From admUser u (nolock) ") +
                          QStringLiteral(" Left Join PSR_Pers p (nolock) On u.usID = p.usID ");

} // namespace

db::RecordSet GetGroups(int grID) {
    if (grID == 0)
        return openForReading(QStringLiteral("Select * From AdmGrup (nolock) Order By GrCod"));
    return openOnFreshConnection(QStringLiteral("Select * From AdmGrup (nolock) Where grID = ") + number(grID) +
                                 QStringLiteral(" Order By GrCod"));
}

db::RecordSet GetGroupAuthors(int grID) {
    return openOnFreshConnection(QStringLiteral("Select * From AdmGrupAutor (nolock) Where grID = ") + number(grID));
}

db::RecordSet GetUserGroups(int usID) {
    return openOnFreshConnection(QStringLiteral("Select * From AdmUserGrup (nolock) Where usID = ") + number(usID));
}

db::RecordSet GetGroupOperations(int auID, int grID) {
    return openOnFreshConnection(
        QStringLiteral(" Select a1.opID , mdId , a1.Id   From AdmGrupOperatii a0(nolock)  inner join "
                       "admOperatiiModul a1(nolock)  on a0.opId = a1.opId and a0.Id = a1.Id  ") +
        QStringLiteral(" Where auID = ") + number(auID) + QStringLiteral(" And grID = ") + number(grID));
}

db::RecordSet GetUsers(int usID) {
    if (usID == 0)
        return openForReading(UsersHead + QStringLiteral(" Order By usCod"));
    return openOnFreshConnection(UsersHead + QStringLiteral(" Where u.usID = ") + number(usID) +
                                 QStringLiteral(" Order By usCod"));
}

db::RecordSet GetAuthors() {
    return openForReading(QStringLiteral("Select * From Authors (nolock) Order By Name"));
}

db::RecordSet GetModules() {
    return openForReading(QStringLiteral("Select * From admModul (nolock) Order By mdDenumire"));
}

db::RecordSet GetOperations() {
    return openForReading(QStringLiteral("Select * From admOperatiiModul (nolock) Order By opDenumire"));
}

db::RecordSet GetPersons() {
    return openForReading(QStringLiteral("Select * From PSR_Pers (nolock) Order By Nume, Prenume"));
}

db::RecordSet GetWorkPoints(int IdAuthor, int grID, std::optional<db::DbError>* failure) {
    const std::shared_ptr<db::Connection> connection = db::ReplaceSharedConnection();
    const QString sql =
        QStringLiteral(" Select p.*, a.grID") + QStringLiteral(" From ordavia..PSR_PuncteLucru p (nolock) ") +
        QStringLiteral(" Left Join admGrupPuncteLucru a (nolock) On a.IdPctLucru = p.IdPctLucru "
                       "And grID = ") +
        number(grID) + QStringLiteral(" Where p.IdAuthor = ") + number(IdAuthor) + QStringLiteral(" Order By Name ");
    // The caller tests the set's state: a failed open comes back as a closed set, not an error.
    db::RecordSet set;
    if (failure)
        failure->reset();
    try {
        set.open(sql, connection);
    } catch (const std::exception& e) {
        // Passed over, and kept for a caller that tells what it could not read.
        if (failure)
            *failure = asDbError(e);
    }
    return set;
}

} // namespace store
