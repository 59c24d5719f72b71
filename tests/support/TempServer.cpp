#include "support/TempServer.h"

#include "db/ConnectionString.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "session/DemoSuite.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace {

using Handle = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

[[noreturn]] void fail(sqlite3* handle, const QString& what) {
    throw std::runtime_error(
        QStringLiteral("TempServer: %1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(handle))).toStdString());
}

Handle openFile(const QString& file) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Handle handle(raw, sqlite3_close);
    if (rc != SQLITE_OK)
        fail(raw, file);
    // The tool's own connections may hold a lock for a moment; wait for them rather than fail.
    sqlite3_busy_timeout(raw, 5000);
    // Test rows need no protection against power loss; skipping the syncs keeps tests fast.
    sqlite3_exec(raw, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    return handle;
}

void bind(sqlite3* handle, sqlite3_stmt* statement, const QVariantList& values, const QString& sql) {
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        int rc = SQLITE_OK;
        if (v.isNull())
            rc = sqlite3_bind_null(statement, i + 1);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Bool)
            rc = sqlite3_bind_int64(statement, i + 1, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            rc = sqlite3_bind_double(statement, i + 1, v.toDouble());
        else
            rc = sqlite3_bind_text(statement, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        if (rc != SQLITE_OK)
            fail(handle, sql);
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column))));
    }
}

QString lineOf(const QVariantList& row) {
    QStringList values;
    for (const QVariant& v : row)
        values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
    return values.join(QStringLiteral(" | "));
}

QString connectionStringFor(const QString& directory) {
    return QStringLiteral("DRIVER=SQL Server;UID=;pwd=;DATABASE=") + QString::fromLatin1(DemoDatabaseName) +
           QStringLiteral(";Server=") + db::ConnectionString::quote(QStringLiteral("sqlite:") + directory);
}

// A server of each kind is built once per test program and copied for every TempServer: building
// one, and the engine's first open that adds the catalogue, sync the files to disk many times; a
// copy does not.
const QTemporaryDir& templateServer(bool withStk, bool withDemoRows) {
    static std::unique_ptr<QTemporaryDir> templates[2][2];
    std::unique_ptr<QTemporaryDir>& dir = templates[withStk][withDemoRows];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid())
            throw std::runtime_error("TempServer: cannot create a temporary directory");
        CreateSuiteServer(dir->path(), withStk, withDemoRows);
        db::Connection::open(connectionStringFor(dir->path()));
    }
    return *dir;
}

} // namespace

TempServer::TempServer(bool withStk, bool withDemoRows) : m_withStk(withStk) {
    if (!m_dir.isValid())
        throw std::runtime_error("TempServer: cannot create a temporary directory");
    const QDir source(templateServer(withStk, withDemoRows).path());
    for (const QString& file : source.entryList({QStringLiteral("*.db")}, QDir::Files)) {
        if (!QFile::copy(source.filePath(file), QDir(m_dir.path()).filePath(file)))
            throw std::runtime_error("TempServer: cannot copy the suite's databases");
    }
    const QString text = connectionString();
    db::setConnectionOpener([text] { return db::Connection::open(text); });
    s_active = this;
}

TempServer::~TempServer() {
    // A server made while this one lived has taken over the connection source; leave it alone.
    if (s_active != this)
        return;
    db::SharedConnection().reset();
    db::setConnectionOpener({});
    s_active = nullptr;
}

QString TempServer::connectionString() const {
    return connectionStringFor(m_dir.path());
}

std::shared_ptr<db::Connection> TempServer::connect() const {
    return db::Connection::open(connectionString());
}

QString TempServer::databaseFile(const QString& database) const {
    return QDir(m_dir.path()).filePath(database + QStringLiteral(".db"));
}

void TempServer::exec(const QString& database, const QString& sql, const QVariantList& values) const {
    const Handle handle = openFile(databaseFile(database));
    if (values.isEmpty()) {
        char* message = nullptr;
        if (sqlite3_exec(handle.get(), sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            sqlite3_free(message);
            fail(handle.get(), sql);
        }
        return;
    }
    rows(database, sql, values);
}

QList<QVariantList> TempServer::rows(const QString& database, const QString& sql, const QVariantList& values) const {
    const Handle handle = openFile(databaseFile(database));
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle.get(), sql.toUtf8().constData(), -1, &raw, nullptr) != SQLITE_OK)
        fail(handle.get(), sql);
    const Statement statement(raw, sqlite3_finalize);
    bind(handle.get(), raw, values, sql);
    QList<QVariantList> result;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        QVariantList row;
        for (int c = 0; c < sqlite3_column_count(raw); ++c)
            row << columnValue(raw, c);
        result << row;
    }
    if (rc != SQLITE_DONE)
        fail(handle.get(), sql);
    return result;
}

QVariant TempServer::value(const QString& database, const QString& sql, const QVariantList& values) const {
    const QList<QVariantList> result = rows(database, sql, values);
    return result.isEmpty() || result.first().isEmpty() ? QVariant() : result.first().first();
}

QStringList TempServer::lines(const QString& database, const QString& sql) const {
    QStringList lines;
    for (const QVariantList& row : rows(database, sql)) {
        QStringList values;
        for (const QVariant& value : row)
            values << value.toString();
        lines << values.join(QLatin1Char('/'));
    }
    return lines;
}

QStringList TempServer::tableRows(const QString& database, const QString& table) const {
    QStringList lines;
    for (const QVariantList& row : rows(database, QStringLiteral("SELECT * FROM \"%1\"").arg(table)))
        lines << lineOf(row);
    lines.sort();
    return lines;
}

QStringList TempServer::snapshot() const {
    QStringList lines;
    for (const QString& database : SuiteDatabaseNames(m_withStk)) {
        const QList<QVariantList> tables =
            rows(database, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        for (const QVariantList& table : tables) {
            const QString prefix = database + QLatin1Char('.') + table.first().toString() + QStringLiteral(": ");
            for (const QString& line : tableRows(database, table.first().toString()))
                lines << prefix + line;
        }
    }
    lines.sort();
    return lines;
}

QStringList TempServer::recordedStatements() {
    static const QRegularExpression write(QStringLiteral("^(?:Insert Into|Update)\\s+(\\S+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList texts;
    for (const QString& sql : db::StatementLog::recorded()) {
        const QRegularExpressionMatch match = write.match(sql);
        texts << (sql.contains(QLatin1Char('?')) && match.hasMatch()
                      ? QStringLiteral("<write %1>").arg(match.captured(1))
                      : sql);
    }
    return texts;
}
