#pragma once

#include "session/LoginComponent.h"

#include <QString>
#include <QTemporaryDir>

// What a test needs to build frmMain: a login component checked against a profile written in
// a temporary directory (SUITE_LOGIN_PROFILE points at it) that names an embedded demo server
// created there, or a server of the test's choosing, and the per-user settings store redirected
// into the same directory so that closing a window never touches the developer's own settings.
class MainWindowFixture {
public:
    // A server and sign-on for the profile's [Connection] section (AuthenticationMode 0).
    struct Server {
        QString serverName; // e.g. "127.0.0.1,1433" for SQL Server
        QString databaseName;
        QString userName;
        QString password;
    };

    // The profile names an embedded demo server made in the fixture's directory.
    explicit MainWindowFixture(const QString& userName = QStringLiteral("ana"));
    // The profile names server; nothing is made.
    explicit MainWindowFixture(const Server& server);

    LoginComponent& login() { return m_login; }
    QString serverName() const { return m_server.serverName; }
    QString databaseName() const { return m_server.databaseName; }
    // The directory that holds the redirected settings store.
    QString settingsDirectory() const;

private:
    void writeProfile();

    QTemporaryDir m_dir;
    Server m_server;
    LoginComponent m_login;
};
