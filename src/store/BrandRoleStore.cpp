#include "store/BrandRoleStore.h"

#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "store/RecordVersions.h"
#include "store/StoreSupport.h"

#include <algorithm>
#include <tuple>

namespace store {

using support::lockedRowExists;
using support::number;

namespace {

// The brand statements keep to the connection the last query left; only before any query ran is
// there none, and then they open it the way the queries do.
std::shared_ptr<db::Connection> currentConnection() {
    if (!db::SharedConnection())
        return db::ReplaceSharedConnection();
    return db::SharedConnection();
}

db::RecordSet openOnCurrentConnection(const QString& sql) {
    db::RecordSet set;
    set.open(sql, currentConnection());
    return set;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString userBrandsStatement(int usID) {
    return QStringLiteral(" Select  a1.Name as Societate , ") + QStringLiteral("  f1.Brand as Brand , ") +
           QStringLiteral("  case when isAdministrator = 1 then 0 ") +
           QStringLiteral("       when isSupervizorBrand = 1 then 1 ") + QStringLiteral("       else 2 end ") +
           QStringLiteral("  as TipUser ") + QStringLiteral(" From ") + QStringLiteral("  CRM_User c1(nolock) ") +
           QStringLiteral("  inner join stk..FAZ_BRAND f1 (nolock) on c1.IdBrand = f1.IdBrand ") +
           QStringLiteral("  inner join CRM_Author c2 (nolock) on c1.IdBrand = c2.IdBrand ") +
           QStringLiteral("  inner join Authors a1 (nolock) on a1.IdAuthor = c2.IdAuthor ") +
           QStringLiteral(" Where c1.UserId = ") + number(usID);
}

// The roles come in the server's order, which need not be the same twice.
QList<ListedBrandRole> sorted(QList<ListedBrandRole> roles) {
    std::sort(roles.begin(), roles.end(), [](const ListedBrandRole& a, const ListedBrandRole& b) {
        return std::tie(a.company, a.brand, a.tipUser) < std::tie(b.company, b.brand, b.tipUser);
    });
    return roles;
}

QList<ListedBrandRole> userBrands(db::Connection& connection, int usID) {
    QList<ListedBrandRole> roles;
    for (const QList<QVariant>& row : connection.query(userBrandsStatement(usID)).rows)
        roles.append({row.value(0).toString(), row.value(1).toString(), row.value(2).toInt()});
    return sorted(roles);
}

} // namespace

db::RecordSet GetBrands() {
    return openOnCurrentConnection(QStringLiteral("Select * from stk..FAZ_Brand (nolock) order by 2"));
}

db::RecordSet GetBrandAuthors() {
    return openOnCurrentConnection(QStringLiteral("Select * from Authors (nolock) order by 2"));
}

db::RecordSet GetUserBrands(int usID) {
    return openOnCurrentConnection(userBrandsStatement(usID));
}

BrandRoleOutcome StoreBrandRole(int IdAuthor, int IdBrand, int usID, const QString& usCod,
                                const QList<ListedBrandRole>& listed, bool supervisor, bool administrator,
                                qint16 userId) {
    const std::shared_ptr<db::Connection> connection = currentConnection();
    const QString brand = number(IdBrand);
    const QString user = number(usID);
    db::Transaction transaction(*connection);
    // Held until the commit: two administrators saving roles for one new brand at the same time
    // would otherwise both find it unlinked and link it twice. The embedded server's transaction
    // holds the whole database already.
    connection->query(QStringLiteral("Select IdAuthor From CRM_Author WITH (UPDLOCK, HOLDLOCK) Where IdBrand = ") +
                      brand);
    // A user deleted since the window showed it gets no role: the next user made takes its id, and
    // a user found there under another code may be that one.
    const db::ResultRows found =
        connection->query(QStringLiteral("Select usCod From AdmUser WITH (UPDLOCK, HOLDLOCK) Where usID = ") + user);
    if (found.rows.isEmpty())
        throw ChangedElsewhere::deletedRecord();
    if (found.rows.first().value(0).toString() != usCod) {
        ChangesElsewhere changes;
        changes.fields << QStringLiteral("User");
        throw ChangedElsewhere(changes);
    }
    BrandRoleOutcome outcome;
    // The role replaced must be one the window listed: a role given or changed by someone else
    // since the list was read, or one the list could not read, would be lost unseen. The user's
    // roles are held until the commit, so none is given or changed after this comparison.
    connection->query(QStringLiteral("Select UserId From CRM_User WITH (UPDLOCK, HOLDLOCK) Where UserId = ") + user);
    outcome.rolesChanged = userBrands(*connection, usID) != sorted(listed);
    if (outcome.rolesChanged)
        return outcome;
    // A brand deleted since the window listed it gets no role nor link: the next brand given its
    // id would inherit them, and the roles list, which shows brands that exist, would not show it.
    outcome.brandGone =
        !lockedRowExists(*connection, QStringLiteral("stk..FAZ_Brand"), QStringLiteral("IdBrand"), IdBrand);
    if (outcome.brandGone)
        return outcome;
    db::RecordSet link;
    link.open(QStringLiteral("Select *  from CRM_Author (nolock) where  IdBrand =") + brand, connection,
              db::RecordSet::ForwardOnly, db::RecordSet::ReadOnly);
    bool linkedToCompany = false;
    for (; !link.eof(); link.moveNext()) {
        const int company = link.field(QStringLiteral("IdAuthor")).toInt();
        linkedToCompany |= company == IdAuthor;
        outcome.otherCompanies.append(company);
    }
    link.close();
    // The role would be listed under a company the administrator did not choose.
    if (!outcome.otherCompanies.isEmpty() && !linkedToCompany)
        return outcome;
    outcome.otherCompanies.clear();
    if (!linkedToCompany) {
        // A link to a company deleted since the window listed it would tie the brand for good to
        // one that is gone, or to the next company given its id.
        outcome.companyGone =
            !lockedRowExists(*connection, QStringLiteral("Authors"), QStringLiteral("IdAuthor"), IdAuthor);
        if (outcome.companyGone)
            return outcome;
        connection->execute(QStringLiteral("INSERT INTO [CRM_Author]([IdAuthor], [IdBrand], [UserId], [DataAct]) ") +
                            QStringLiteral(" VALUES(") + number(IdAuthor) + QStringLiteral(", ") + brand +
                            QStringLiteral(", ") + QString::number(userId) + QStringLiteral(", getdate()) "));
    }
    connection->execute(QStringLiteral("Delete from CRM_User where IdBrand = ") + brand +
                        QStringLiteral(" and UserId = ") + user);
    connection->execute(
        QStringLiteral(
            " INSERT INTO [CRM_User]([UserId], [IdBrand], [isSupervizorBrand], [isAdministrator], [DataAct]) ") +
        QStringLiteral(" VALUES(") + user + QStringLiteral(", ") + brand + QStringLiteral(", ") + flag(supervisor) +
        QStringLiteral(", ") + flag(administrator) + QStringLiteral(", getdate()) "));
    transaction.commit();
    outcome.stored = true;
    return outcome;
}

} // namespace store
