#pragma once

#include <QString>
#include <QtGlobal>

// The suite's sign-on component: the access decision for this tool and the values every
// database connection is built from. It reads the suite login profile, an INI file named by
// SUITE_LOGIN_PROFILE or found at $XDG_CONFIG_HOME/suite-login/profile.ini:
//   [Access]     HasAccess (true/false), UserId (16-bit integer)
//   [Connection] AuthenticationMode (integer), ServerName, DatabaseName, UserName, Password
// With no profile file at the default location it serves the embedded demo suite (created on
// first use under $XDG_DATA_HOME/talvane/demo), access granted, UserId 1; a SUITE_LOGIN_PROFILE
// naming a file that does not exist is an error.
// A profile that cannot be read or holds a value of the wrong type raises an AppError that
// names the file, the key and the value.
class LoginComponent {
public:
    LoginComponent() = default;

    qint16 UserId() const;
    QString UserName() const;
    QString DatabaseName() const;
    QString ServerName() const;
    bool HasAccess() const;
    qint32 AuthenticationMode() const;
    QString Password() const;
    void setApplicationKey(const QString& key);
    QString ApplicationKey() const { return m_applicationKey; }
    // Reads the profile (or prepares the demo suite). Afterwards HasAccess, UserId and the
    // connection values hold the result for the current user.
    void CheckAccess(bool& flag);

    // Where the profile is looked for.
    static QString ProfilePath();
    // Where the demo suite lives when no profile exists.
    static QString DemoServerDirectory();

private:
    void requireChecked() const;

    QString m_applicationKey;
    bool m_checked = false;
    bool m_hasAccess = false;
    qint16 m_userId = 0;
    qint32 m_authenticationMode = 0;
    QString m_serverName;
    QString m_databaseName;
    QString m_userName;
    QString m_password;
};
