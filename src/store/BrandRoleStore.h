#pragma once

#include "db/RecordSet.h"

#include <QList>
#include <QtGlobal>

// The brand roles of the CRM module: the brands, the companies they can be tied to, a user's
// roles and the storing of one role. These run on the shared connection as the last query or
// store left it; when none is open yet, a fresh one becomes the shared connection. Failures are
// raised unchanged.
namespace store {

// Every brand of stk..FAZ_Brand (id first, name second), ordered by name.
db::RecordSet GetBrands();
// Every company of Authors (id first, name second), ordered by name.
db::RecordSet GetBrandAuthors();
// The brand roles of user usID, in the server's order: Societate (the company linked to the
// brand, one row per link), Brand, and TipUser (0 administrator, 1 brand director, 2 user).
db::RecordSet GetUserBrands(int usID);

// One brand role of a user as GetUserBrands gives it, and as the window lists it.
struct ListedBrandRole {
    QString company; // Societate
    QString brand;   // Brand
    int tipUser = 2; // TipUser
    bool operator==(const ListedBrandRole&) const = default;
};

// What StoreBrandRole did.
struct BrandRoleOutcome {
    // False when the brand is linked to other companies only, none of them IdAuthor: then
    // nothing was written.
    bool stored = false;
    // The companies (IdAuthor) the brand is linked to, in the server's order, when it was not
    // stored.
    QList<int> otherCompanies;
    // True when the brand, or the company it was to be linked to, was deleted elsewhere since
    // the window listed it: then nothing was written.
    bool brandGone = false;
    bool companyGone = false;
    // True when GetUserBrands no longer gives the roles the window listed (someone else changed
    // them since, or the list could not read them): then nothing was written.
    bool rolesChanged = false;
};

// Gives user usID, whom the window loaded with the code usCod and listed with the roles listed
// (in any order), the role flags for brand IdBrand, all in one transaction: a brand without a
// company link is first linked to company IdAuthor, stamped with the signed-in userId (an
// existing link is never changed), then the user's role for the brand is replaced. Roles that are
// no longer those listed are answered (rolesChanged) with nothing written. A brand linked only to other companies is
// refused and nothing is written; the links are read inside the transaction, so the answer holds for the write. A brand
// that no longer exists, or a company no longer there when the brand is to be linked to it, is
// answered (brandGone, companyGone) with nothing written. A user that no longer exists, or whose
// code is no longer usCod (another user may have taken its id), raises ChangedElsewhere and
// nothing is written. On any failure nothing is changed and the error is raised unchanged.
BrandRoleOutcome StoreBrandRole(int IdAuthor, int IdBrand, int usID, const QString& usCod,
                                const QList<ListedBrandRole>& listed, bool supervisor, bool administrator,
                                qint16 userId);

} // namespace store
