#include "support/MainWindowFixture.h"

#include "session/DemoSuite.h"

#include <QFile>
#include <QSettings>

MainWindowFixture::MainWindowFixture(const QString& userName) {
    if (!m_dir.isValid())
        qFatal("MainWindowFixture: no temporary directory");
    m_serverName = QStringLiteral("sqlite:") + EnsureDemoSuite(m_dir.filePath(QStringLiteral("server")));

    const QString profile = m_dir.filePath(QStringLiteral("profile.ini"));
    QFile file(profile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("MainWindowFixture: cannot write the login profile");
    file.write(
        "[Access]\nHasAccess=true\nUserId=1\n[Connection]\nAuthenticationMode=0\nServerName=" + m_serverName.toUtf8() +
        "\nDatabaseName=" + databaseName().toUtf8() + "\nUserName=" + userName.toUtf8() + "\nPassword=\n");
    file.close();
    qputenv("SUITE_LOGIN_PROFILE", profile.toUtf8());

    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settingsDirectory());

    bool flag = true;
    m_login.CheckAccess(flag);
}

QString MainWindowFixture::databaseName() const {
    return QString::fromLatin1(DemoDatabaseName);
}

QString MainWindowFixture::settingsDirectory() const {
    return m_dir.filePath(QStringLiteral("settings"));
}
