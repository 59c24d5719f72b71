#include "support/MainWindowFixture.h"

#include "session/DemoSuite.h"

#include <QFile>
#include <QSettings>

MainWindowFixture::MainWindowFixture(const QString& userName) {
    if (!m_dir.isValid())
        qFatal("MainWindowFixture: no temporary directory");
    m_server = {QStringLiteral("sqlite:") + EnsureDemoSuite(m_dir.filePath(QStringLiteral("server"))),
                QString::fromLatin1(DemoDatabaseName), userName, QString()};
    writeProfile();
}

MainWindowFixture::MainWindowFixture(const Server& server) : m_server(server) {
    if (!m_dir.isValid())
        qFatal("MainWindowFixture: no temporary directory");
    writeProfile();
}

void MainWindowFixture::writeProfile() {
    const QString profile = m_dir.filePath(QStringLiteral("profile.ini"));
    QFile file(profile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("MainWindowFixture: cannot write the login profile");
    file.write("[Access]\nHasAccess=true\nUserId=1\n[Connection]\nAuthenticationMode=0\nServerName=" +
               m_server.serverName.toUtf8() + "\nDatabaseName=" + m_server.databaseName.toUtf8() +
               "\nUserName=" + m_server.userName.toUtf8() + "\nPassword=" + m_server.password.toUtf8() + "\n");
    file.close();
    qputenv("SUITE_LOGIN_PROFILE", profile.toUtf8());

    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settingsDirectory());

    bool flag = true;
    m_login.CheckAccess(flag);
}

QString MainWindowFixture::settingsDirectory() const {
    return m_dir.filePath(QStringLiteral("settings"));
}
