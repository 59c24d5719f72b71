#include "session/LoginComponent.h"

#include "db/AppError.h"
#include "session/DemoSuite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <limits>

namespace {

const QString Source = QStringLiteral("LoginComponent");

[[noreturn]] void fail(const QString& description) {
    throw AppError(AppError::LoginComponentError, description, Source);
}

QString envPath(const char* variable, const QString& fallbackUnderHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty())
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
}

// Reads the profile's values with their types checked. The file is plain INI: "[Section]"
// lines, "Key=Value" lines, and comment lines starting with ";" or "#". Values are taken as they
// stand (a password may hold ";" or ","), with surrounding blanks trimmed and one pair of
// double quotes removed. A missing key takes its default; a line that is none of these, or a
// value of the wrong type, is an error that names the file and the line or key.
class ProfileReader {
public:
    explicit ProfileReader(const QString& path) : m_path(path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            fail(QStringLiteral("The login profile %1 cannot be read: %2").arg(path, file.errorString()));
        QString section;
        int lineNumber = 0;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (const QString& raw : lines) {
            ++lineNumber;
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
                continue;
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                section = line.mid(1, line.size() - 2).trimmed().toLower();
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq <= 0)
                fail(QStringLiteral("The login profile %1 cannot be read: line %2 (\"%3\") is not a "
                                    "section, a key=value pair or a comment.")
                         .arg(path)
                         .arg(lineNumber)
                         .arg(line));
            QString value = line.mid(eq + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
                value = value.mid(1, value.size() - 2);
            m_values.insert(section + QLatin1Char('/') + line.left(eq).trimmed().toLower(), value);
        }
    }

    QString text(const QString& key) const { return m_values.value(key.toLower()); }

    bool boolean(const QString& key) const {
        const QString v = text(key).toLower();
        if (v.isEmpty() || v == QLatin1String("false") || v == QLatin1String("0") || v == QLatin1String("no"))
            return false;
        if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("-1") ||
            v == QLatin1String("yes"))
            return true;
        wrongType(key, QStringLiteral("a Boolean (true or false)"));
    }

    qint64 integer(const QString& key, qint64 min, qint64 max) const {
        const QString v = text(key);
        if (v.isEmpty())
            return 0;
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (!ok || n < min || n > max)
            wrongType(key, QStringLiteral("a whole number from %1 to %2").arg(min).arg(max));
        return n;
    }

private:
    [[noreturn]] void wrongType(const QString& key, const QString& expected) const {
        fail(QStringLiteral("The login profile %1 holds \"%2\" for %3, which must be %4.")
                 .arg(m_path, text(key), key, expected));
    }

    QString m_path;
    QHash<QString, QString> m_values;
};

} // namespace

QString LoginComponent::ProfilePath() {
    const QString explicitPath = qEnvironmentVariable("SUITE_LOGIN_PROFILE");
    if (!explicitPath.isEmpty())
        return explicitPath;
    return envPath("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/suite-login/profile.ini");
}

QString LoginComponent::DemoServerDirectory() {
    return envPath("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/talvane/demo");
}

void LoginComponent::setApplicationKey(const QString& key) {
    m_applicationKey = key;
}

void LoginComponent::CheckAccess(bool& flag) {
    Q_UNUSED(flag);
    const QString path = ProfilePath();
    const QFileInfo info(path);
    if (!info.exists()) {
        // A profile named on purpose that is missing is most likely a mistyped path: serving the
        // demo instead would let the administrator take it for the real suite.
        if (!qEnvironmentVariable("SUITE_LOGIN_PROFILE").isEmpty())
            fail(QStringLiteral("The login profile %1 named by SUITE_LOGIN_PROFILE does not exist.").arg(path));
        // No profile at the default location: the embedded demo suite, with access for its
        // administrator.
        const QString dir = EnsureDemoSuite(DemoServerDirectory());
        m_hasAccess = true;
        m_userId = 1;
        m_authenticationMode = 0;
        m_serverName = QStringLiteral("sqlite:") + dir;
        m_databaseName = QString::fromLatin1(DemoDatabaseName);
        m_userName = QStringLiteral("admin");
        m_password.clear();
        m_checked = true;
        return;
    }
    if (!info.isFile() || !info.isReadable())
        fail(QStringLiteral("The login profile %1 cannot be read.").arg(path));

    const ProfileReader profile(path);
    m_hasAccess = profile.boolean(QStringLiteral("Access/HasAccess"));
    m_userId = static_cast<qint16>(profile.integer(QStringLiteral("Access/UserId"), std::numeric_limits<qint16>::min(),
                                                   std::numeric_limits<qint16>::max()));
    m_authenticationMode =
        static_cast<qint32>(profile.integer(QStringLiteral("Connection/AuthenticationMode"),
                                            std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    m_serverName = profile.text(QStringLiteral("Connection/ServerName"));
    m_databaseName = profile.text(QStringLiteral("Connection/DatabaseName"));
    m_userName = profile.text(QStringLiteral("Connection/UserName"));
    m_password = profile.text(QStringLiteral("Connection/Password"));
    m_checked = true;
}

void LoginComponent::requireChecked() const {
    if (!m_checked)
        fail(QStringLiteral("The login component was asked for a value before CheckAccess ran."));
}

qint16 LoginComponent::UserId() const {
    requireChecked();
    return m_userId;
}

QString LoginComponent::UserName() const {
    requireChecked();
    return m_userName;
}

QString LoginComponent::DatabaseName() const {
    requireChecked();
    return m_databaseName;
}

QString LoginComponent::ServerName() const {
    requireChecked();
    return m_serverName;
}

bool LoginComponent::HasAccess() const {
    requireChecked();
    return m_hasAccess;
}

qint32 LoginComponent::AuthenticationMode() const {
    requireChecked();
    return m_authenticationMode;
}

QString LoginComponent::Password() const {
    requireChecked();
    return m_password;
}
