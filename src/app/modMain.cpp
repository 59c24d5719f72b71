#include "app/modMain.h"

#include "session/LoginComponent.h"
#include "session/OpenConnection.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/modMinMaxForm.h"
#include "ui/main/frmMain.h"

#include <QPointer>

namespace {

// The login component lives for the whole process; it is never released before the end.
LoginComponent* g_login = nullptr;
QPointer<frmMain> g_mainWindow;

const QString ApplicationKey = QStringLiteral("Ketrolis");

} // namespace

namespace modMain {

LoginComponent& Login() {
    if (!g_login)
        g_login = new LoginComponent();
    return *g_login;
}

void SetLogin(LoginComponent* login) {
    g_login = login;
}

frmMain* MainWindow() {
    return g_mainWindow.data();
}

bool AccessGranted(bool hasAccess, short userId) {
    return hasAccess || userId > 0;
}

void Main() {
    g_login = new LoginComponent();
    LoginComponent& login = *g_login;
    login.setApplicationKey(ApplicationKey);
    bool flag = true;
    login.CheckAccess(flag);
    // Both values are read before the decision, in this order.
    const bool hasAccess = login.HasAccess();
    const short userId = login.UserId();
    if (!AccessGranted(hasAccess, userId)) {
        common::Beep();
        common::Beep();
        common::MsgBox(QStringLiteral("You don't have rights to use this application !"), 48, common::AppTitle());
        return;
    }
    InstallConnectionSource(login);
    bool maximised = false;
    if (!g_mainWindow) {
        g_mainWindow = new frmMain(login);
        g_mainWindow->setAttribute(Qt::WA_DeleteOnClose);
        maximised = modMinMaxForm::LoadWindowSettings(g_mainWindow, frmMain::DesignedMinimumSize());
        modMinMaxForm::FitToScreen(g_mainWindow);
    }
    if (maximised)
        g_mainWindow->showMaximized();
    else
        g_mainWindow->show();
}

void ReportStartupFailure(const std::exception& e) {
    const db::DbError error = asDbError(e);
    common::MsgBox(QStringLiteral("Talvane could not start.\r\rError %1: %2\rSource: %3")
                       .arg(error.number())
                       .arg(error.description(), error.source()),
                   16, common::AppTitle());
}

} // namespace modMain
