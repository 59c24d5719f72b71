#include "db/embedded/EmbeddedEngine.h"

#include "db/embedded/DialectRewriter.h"
#include "db/embedded/LoginStatement.h"
#include "db/embedded/ServerCatalogue.h"
#include "db/embedded/SqliteCursor.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <sqlite3.h>
#include <sys/stat.h>

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane embedded server");

// getdate(): the current local date and time, written the way the driver writes a bound
// QDateTime, so that both kinds of stamps read and sort alike.
void getdateFunction(sqlite3_context* context, int, sqlite3_value**) {
    const QByteArray text = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

// upper(): the whole of Unicode, as the server's own function does, not only the ASCII letters, so
// that comparisons without regard to case ("Ș" and "ș") agree with the server's.
void upperFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
    const QByteArray upper = QString::fromUtf8(text, sqlite3_value_bytes(arguments[0])).toUpper().toUtf8();
    sqlite3_result_text(context, upper.constData(), int(upper.size()), SQLITE_TRANSIENT);
}

QString fileUri(const QString& path, const char* mode) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QLatin1String("?mode=") + QLatin1String(mode);
}

QString schemaName(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1String("`"), QLatin1String("``"));
    return QLatin1Char('`') + escaped + QLatin1Char('`');
}

// The first word of a statement, to pass texts that cannot be login statements straight on.
QStringView firstWord(const QString& sql) {
    qsizetype i = 0;
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    qsizetype j = i;
    while (j < sql.size() && sql.at(j).isLetter())
        ++j;
    return QStringView(sql).mid(i, j - i);
}

bool mayBeLoginStatement(const QString& sql) {
    const QStringView word = firstWord(sql);
    for (const char* w : {"exec", "execute", "if", "alter"})
        if (word.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

EmbeddedEngine::EmbeddedEngine(const QString& directory, const QString& databaseName)
    : Engine(Source), m_driver(QStringLiteral("QSQLITE"), Source) {
    const QDir dir(directory);
    if (directory.isEmpty() || !dir.exists())
        throw DbError(
            17, QStringLiteral("The embedded server '%1' does not exist: there is no such directory.").arg(directory),
            Source);

    // Database names compare without regard to case, as the server's catalogue does.
    QMap<QString, QFileInfo> files;
    for (const QFileInfo& file : dir.entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name)) {
        const QString name = file.fileName().chopped(3);
        if (!name.isEmpty())
            files.insert(name.toLower(), file);
    }
    const auto mainFile = files.constFind(databaseName.toLower());
    if (databaseName.isEmpty() || mainFile == files.constEnd())
        throw DbError(4060,
                      QStringLiteral("Cannot open database \"%1\" requested by the login: the embedded server '%2' "
                                     "has no file %1.db.")
                          .arg(databaseName, directory),
                      Source);

    QSqlDatabase& db = m_driver.database();
    db.setDatabaseName(fileUri(mainFile->filePath(), "rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db.open())
        throw m_driver.errorOf(db.lastError());
    registerFunctions();
    QList<std::pair<QString, QString>> opened{{mainFile->fileName().chopped(3), mainFile->filePath()}};
    m_files.attach(handle(), opened);

    QStringList schemas{QStringLiteral("main")};
    QStringList databases{mainFile->fileName().chopped(3)};
    const QString master = QStringLiteral("master");
    if (mainFile.key() == master) {
        m_catalogue = QStringLiteral("main");
    } else {
        m_catalogue = master;
        const auto catalogueFile = files.constFind(master);
        const QString cataloguePath =
            catalogueFile == files.constEnd() ? dir.filePath(QStringLiteral("master.db")) : catalogueFile->filePath();
        attach(master, cataloguePath, "rwc");
        opened.append({master, cataloguePath});
        schemas.append(master);
        databases.append(master);
    }
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        // "main" and "temp" are SQLite's own schema names: such files cannot be attached.
        if (it == mainFile || it.key() == master || it.key() == QLatin1String("main") ||
            it.key() == QLatin1String("temp"))
            continue;
        const QString name = it->fileName().chopped(3);
        attach(name, it->filePath(), "rw");
        opened.append({name, it->filePath()});
        schemas.append(name);
        databases.append(name);
    }
    m_files.attach(handle(), opened);
    keepRollbackJournal(schemas);
    m_utf8 = textIsUtf8();
    m_schemas = schemas;
    m_directory = dir.absolutePath();
    ServerCatalogue::prepare(*this, databases);
}

sqlite3* EmbeddedEngine::handle() const {
    const QVariant v = m_driver.database().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

void EmbeddedEngine::registerFunctions() {
    sqlite3* h = handle();
    const bool registered = h &&
                            sqlite3_create_function_v2(h, "getdate", 0, SQLITE_UTF8, nullptr, getdateFunction, nullptr,
                                                       nullptr, nullptr) == SQLITE_OK &&
                            sqlite3_create_function_v2(h, "upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                                       upperFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!registered)
        throw DbError(DbError::GeneralError,
                      QStringLiteral("The embedded server could not register its functions getdate() and upper()."),
                      Source);
}

void EmbeddedEngine::attach(const QString& name, const QString& path, const char* mode) {
    try {
        runNative(QStringLiteral("ATTACH DATABASE ? AS ") + schemaName(name), {fileUri(path, mode)});
    } catch (const DbError& e) {
        throw DbError(e.number(),
                      QStringLiteral("Cannot open database \"%1\" (%2): %3").arg(name, path, e.description()), Source);
    }
}

// A transaction over main and attached files is atomic after a crash only with a rollback
// journal; a file found in WAL mode is turned back.
void EmbeddedEngine::keepRollbackJournal(const QStringList& schemas) {
    for (const QString& schema : schemas) {
        const QString pragma = QStringLiteral("PRAGMA %1.journal_mode").arg(schemaName(schema));
        const StatementResult mode = runNative(pragma);
        if (!mode.rows.rows.isEmpty() &&
            mode.rows.rows.first().value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            runNative(pragma + QLatin1String(" = DELETE"));
    }
}

StatementResult EmbeddedEngine::run(const QString& sql, const QList<QVariant>& values) {
    if (mayBeLoginStatement(sql)) {
        if (const auto login = LoginStatement::parse(sql)) {
            ServerCatalogue::carryOut(*this, *login);
            return {};
        }
    }
    return runNative(DialectRewriter::rewrite(sql, m_catalogue), values);
}

QByteArray EmbeddedEngine::reuseStamp() {
    QByteArray stamp;
    sqlite3* h = handle();
    if (!h)
        return stamp;
    for (const QString& schema : std::as_const(m_schemas)) {
        sqlite3_stmt* statement = nullptr;
        const QByteArray pragma = "PRAGMA " + schemaName(schema).toUtf8() + ".schema_version";
        if (sqlite3_prepare_v2(h, pragma.constData(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            stamp += QByteArray::number(sqlite3_column_int64(statement, 0)) + ' ';
        else
            stamp += "? ";
        sqlite3_finalize(statement);
    }
    // A database file added, taken away or replaced by another of the same name changes what
    // the connection should attach.
    const QDir dir(m_directory);
    for (const QString& name : dir.entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name)) {
        stamp += QFile::encodeName(name) + '=';
        struct stat status {};
        if (::stat(QFile::encodeName(dir.filePath(name)).constData(), &status) == 0)
            stamp +=
                QByteArray::number(quint64(status.st_dev)) + ':' + QByteArray::number(quint64(status.st_ino)) + ' ';
        else
            stamp += "- ";
    }
    return stamp;
}

bool EmbeddedEngine::textIsUtf8() const {
    // Attached databases share the encoding of the main one.
    sqlite3_stmt* statement = nullptr;
    const bool utf8 = sqlite3_prepare_v2(handle(), "PRAGMA encoding", -1, &statement, nullptr) == SQLITE_OK &&
                      sqlite3_step(statement) == SQLITE_ROW &&
                      qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "UTF-8") == 0;
    sqlite3_finalize(statement);
    return utf8;
}

void EmbeddedEngine::releaseMemory() {
    if (sqlite3* h = handle())
        sqlite3_db_release_memory(h);
}

std::unique_ptr<Cursor> EmbeddedEngine::openCursor(const QString& sql) {
    return m_files.guard([&] {
        return std::make_unique<SqliteCursor>(handle(), DialectRewriter::rewrite(sql, m_catalogue), Source, m_utf8);
    });
}

StatementResult EmbeddedEngine::runNative(const QString& text, const QList<QVariant>& values) {
    return m_files.guard([&] { return m_driver.run(text, values); });
}

void EmbeddedEngine::begin() {
    runNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void EmbeddedEngine::commit() {
    runNative(QStringLiteral("COMMIT"));
}

void EmbeddedEngine::rollback() {
    // SQLite may already have rolled back on its own after some failures.
    if (transactionActive())
        runNative(QStringLiteral("ROLLBACK"));
}

bool EmbeddedEngine::transactionActive() const {
    sqlite3* h = handle();
    return h && sqlite3_get_autocommit(h) == 0;
}

} // namespace db
