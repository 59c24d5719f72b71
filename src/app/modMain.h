#pragma once

#include <exception>

class LoginComponent;
class frmMain;

namespace modMain {

// Start-up: asks the login component whether the signed-in user may run the tool, then shows
// the main window or refuses with two beeps and a message. Errors are not caught here.
void Main();

// The login component created by Main; lives for the whole process.
LoginComponent& Login();
// Replaces the login component (tests drive start-up with prepared components).
void SetLogin(LoginComponent* login);

// The main window once access was granted, else null.
frmMain* MainWindow();

// Shows the generic message for an error that escaped start-up.
void ReportStartupFailure(const std::exception& e);

// Access is granted when hasAccess is true or userId is above 0 (signed).
bool AccessGranted(bool hasAccess, short userId);

} // namespace modMain
