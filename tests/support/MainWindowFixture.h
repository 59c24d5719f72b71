#pragma once

#include "session/LoginComponent.h"

#include <QString>
#include <QTemporaryDir>

// What a test needs to build frmMain: a login component checked against a profile written in
// a temporary directory (SUITE_LOGIN_PROFILE points at it) that names an embedded demo server
// created there, and the per-user settings store redirected into the same directory so that
// closing a window never touches the developer's own settings.
class MainWindowFixture {
public:
    explicit MainWindowFixture(const QString& userName = QStringLiteral("ana"));

    LoginComponent& login() { return m_login; }
    QString serverName() const { return m_serverName; }
    QString databaseName() const;
    // The directory that holds the redirected settings store.
    QString settingsDirectory() const;

private:
    QTemporaryDir m_dir;
    QString m_serverName;
    LoginComponent m_login;
};
