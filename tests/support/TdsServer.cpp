#include "support/TdsServer.h"

#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "session/DemoSuite.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <stdexcept>

namespace {

const char* const DoubleVariable = "TALVANE_TEST_TDS_SERVER";
const char* const RealVariable = "TALVANE_TEST_MSSQL";

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(("TdsServer: " + what).toStdString());
}

} // namespace

QString TdsServer::skipReason() {
    if (qEnvironmentVariableIsSet(RealVariable) || qEnvironmentVariableIsSet(DoubleVariable))
        return {};
    return QStringLiteral("no SQL Server to test against: set TALVANE_TEST_TDS_SERVER to the TDS server double's "
                          "command (\"python3 .../tdsemu/tdsemu.py\"; .ci/run does) or TALVANE_TEST_MSSQL to an "
                          "ODBC connection string");
}

QString TdsServer::doubleSkipReason(const QString& need) {
    if (!skipReason().isEmpty())
        return skipReason();
    if (qEnvironmentVariableIsSet(RealVariable))
        return need + QStringLiteral(", which a real server (TALVANE_TEST_MSSQL) does not allow");
    return {};
}

std::unique_ptr<TdsServer> TdsServer::start(const QString& directory, const Options& options) {
    std::unique_ptr<TdsServer> server(new TdsServer());
    const QString real = qEnvironmentVariable(RealVariable);
    if (!real.isEmpty()) {
        const db::ConnectionString attributes = db::ConnectionString::parse(real);
        server->m_realConnectionString = real;
        server->m_serverName = attributes.value(QStringLiteral("Server"));
        server->m_database = attributes.value(QStringLiteral("DATABASE"));
        server->m_user = attributes.value(QStringLiteral("UID"));
        server->m_password = attributes.value(QStringLiteral("PWD"));
        return server;
    }
    server->m_command = qEnvironmentVariable(DoubleVariable);
    if (server->m_command.isEmpty())
        return nullptr;
    server->m_directory = directory;
    server->m_options = options;
    server->m_logFile = QDir(directory).filePath(QStringLiteral("tdsemu.jsonl"));
    server->m_database = QString::fromLatin1(DemoDatabaseName);
    server->m_user = QStringLiteral("admin");
    server->m_password = QStringLiteral("x");
    server->launch(0);
    return server;
}

void TdsServer::launch(int port) {
    QStringList words = QProcess::splitCommand(m_command);
    if (words.isEmpty())
        fail(QStringLiteral("%1 names no command").arg(QLatin1String(DoubleVariable)));
    const QString program = words.takeFirst();
    words << QStringLiteral("--dir") << m_directory << QStringLiteral("--port") << QString::number(port)
          << QStringLiteral("--log") << m_logFile << QStringLiteral("--exit-with-parent") << m_options.arguments;
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : m_options.environment)
        environment.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    m_process->setProcessEnvironment(environment);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(program, words);
    if (!m_process->waitForStarted(10000))
        fail(QStringLiteral("cannot start %1: %2").arg(m_command, m_process->errorString()));
    // The first line says where it listens.
    const QDeadlineTimer deadline(15000);
    while (!m_process->canReadLine() && !deadline.hasExpired() && m_process->state() == QProcess::Running)
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    const QJsonObject listening = QJsonDocument::fromJson(m_process->readLine()).object();
    m_port = listening.value(QStringLiteral("port")).toInt();
    if (m_port <= 0)
        fail(QStringLiteral("%1 did not say where it listens: %2")
                 .arg(m_command, QString::fromLocal8Bit(m_process->readAllStandardError())));
    m_serverName = QStringLiteral("127.0.0.1,%1").arg(m_port);
    mark();
}

TdsServer::~TdsServer() {
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString TdsServer::connectionString(const QString& database) const {
    if (!isDouble() && database.isEmpty())
        return m_realConnectionString;
    using db::ConnectionString;
    return QStringLiteral("DRIVER=SQL Server;UID=") + ConnectionString::quote(m_user) + QStringLiteral(";pwd=") +
           ConnectionString::quote(m_password) + QStringLiteral(";DATABASE=") +
           ConnectionString::quote(database.isEmpty() ? m_database : database) + QStringLiteral(";Server=") +
           ConnectionString::quote(m_serverName) + QStringLiteral(";");
}

QString TdsServer::asStored(const QString& table, const QString& column, const QString& text) const {
    if (isDouble() || text.isNull())
        return text;
    const auto literal = [](const QString& value) {
        return QStringLiteral("N'") + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")) +
               QLatin1Char('\'');
    };
    const auto connection = db::Connection::open(connectionString());
    const db::ResultRows type = connection->query(
        QStringLiteral("Select DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, COLLATION_NAME From INFORMATION_SCHEMA.COLUMNS "
                       "Where TABLE_NAME = %1 And COLUMN_NAME = %2")
            .arg(literal(table), literal(column)));
    if (type.rows.isEmpty())
        fail(QStringLiteral("the server has no column %1.%2").arg(table, column));
    const QString dataType = type.rows.first().value(0).toString().toLower();
    if (dataType != QLatin1String("varchar") && dataType != QLatin1String("char"))
        return text;
    const int length = type.rows.first().value(1).toInt();
    return connection
        ->query(QStringLiteral("Select Cast(%1 Collate %2 As %3(%4))")
                    .arg(literal(text), type.rows.first().value(2).toString(), dataType,
                         length < 0 ? QStringLiteral("max") : QString::number(length)))
        .rows.first()
        .value(0)
        .toString();
}

void TdsServer::restart() {
    if (!isDouble())
        fail(QStringLiteral("a real server cannot be restarted by the tests"));
    m_process->kill();
    m_process->waitForFinished(5000);
    launch(m_port);
}

QList<QJsonObject> TdsServer::events() const {
    QList<QJsonObject> result;
    QFile log(m_logFile);
    if (!isDouble() || !log.open(QIODevice::ReadOnly))
        return result;
    log.seek(m_logMark);
    while (!log.atEnd()) {
        const QByteArray line = log.readLine();
        if (line.endsWith('\n'))
            result.append(QJsonDocument::fromJson(line).object());
    }
    return result;
}

void TdsServer::mark() {
    m_logMark = QFile(m_logFile).size();
}

int TdsServer::logins() const {
    int count = 0;
    for (const QJsonObject& event : events())
        count += event.value(QStringLiteral("event")).toString() == QLatin1String("login");
    return count;
}

int TdsServer::requests() const {
    int count = 0;
    for (const QJsonObject& event : events()) {
        const QString kind = event.value(QStringLiteral("event")).toString();
        count += kind == QLatin1String("batch") || kind == QLatin1String("rpc") || kind == QLatin1String("tm");
    }
    return count;
}
