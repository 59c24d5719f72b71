#pragma once

struct UsersPage;

namespace users {

// Empties the user editor for a new user: no user selected in lstUsers, empty user fields and
// passwords, no person, every group unticked, no brand roles listed; the focus goes to
// txtUserName. The tab shown in tabDetalii and what is chosen on the brand tab are left as they
// are.
void NewUser(UsersPage& page);

} // namespace users
