#include "session/DemoSuite.h"

#include "db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <sqlite3.h>

// The scripts are resources of the static core library, which the linker keeps only when they
// are registered by name (outside any namespace, as the macro requires).
static void registerDemoScripts() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(demo);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

const QString Source = db::DbError::ToolSource();

db::DbError failure(const QString& description) {
    return db::DbError(db::DbError::GeneralError, description, Source);
}

QString scriptText(const QString& path) {
    registerDemoScripts();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw failure(QStringLiteral("The script %1 of the suite is missing.").arg(path));
    return QString::fromUtf8(file.readAll());
}

QString databaseFile(const QString& directory, const QString& name) {
    return QDir(directory).filePath(name + QStringLiteral(".db"));
}

// Runs the scripts on a new SQLite file in one transaction. The scripts hold several statements
// each, which sqlite3_exec runs in turn; the driver layer would take them one at a time.
void runScripts(const QString& file, const QString& sql) {
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> handle(raw, sqlite3_close);
    if (opened != SQLITE_OK)
        throw failure(QStringLiteral("Cannot create %1: %2").arg(file, QString::fromUtf8(sqlite3_errmsg(raw))));

    char* message = nullptr;
    const QByteArray script = (QStringLiteral("BEGIN;\n") + sql + QStringLiteral("\nCOMMIT;\n")).toUtf8();
    if (sqlite3_exec(handle.get(), script.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw failure(QStringLiteral("Cannot fill %1: %2").arg(file, text));
    }
}

// Builds the database under a temporary name and renames it into place, so a failure or a
// crash never leaves a half-filled <name>.db that would later pass for a finished one.
void createDatabase(const QString& directory, const QString& name, bool withDemoRows) {
    const QString target = databaseFile(directory, name);
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QString sql = scriptText(QStringLiteral(":/demo/schema/%1.sql").arg(name));
    if (withDemoRows)
        sql += QLatin1Char('\n') + scriptText(QStringLiteral(":/demo/data/%1.sql").arg(name));
    try {
        runScripts(partial, sql);
    } catch (const db::DbError&) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw failure(QStringLiteral("Cannot create %1: the file already exists or cannot be written.").arg(target));
    }
}

void makeDirectory(const QString& directory) {
    if (!QDir().mkpath(directory))
        throw failure(QStringLiteral("Cannot create the directory %1.").arg(directory));
}

} // namespace

QStringList SuiteDatabaseNames(bool withStk) {
    QStringList names{QString::fromLatin1(DemoDatabaseName), QStringLiteral("ordavia")};
    if (withStk)
        names << QStringLiteral("stk");
    return names;
}

void CreateSuiteServer(const QString& directory, bool withStk, bool withDemoRows) {
    const QStringList names = SuiteDatabaseNames(withStk);
    for (const QString& name : names) {
        if (QFileInfo::exists(databaseFile(directory, name)))
            throw failure(QStringLiteral("The database %1 already exists.").arg(databaseFile(directory, name)));
    }
    makeDirectory(directory);
    for (const QString& name : names)
        createDatabase(directory, name, withDemoRows);
}

QString EnsureDemoSuite(const QString& directory) {
    const QString dir = QDir::cleanPath(QDir(directory).absolutePath());
    const QString mainName = QString::fromLatin1(DemoDatabaseName);
    if (QFileInfo::exists(databaseFile(dir, mainName)))
        return dir;
    makeDirectory(dir);
    // The main database comes last: once it exists the suite counts as made, so an attempt that
    // stopped half way is completed by the next start instead of being taken for a suite.
    QStringList names = SuiteDatabaseNames(true);
    names.move(0, names.size() - 1);
    for (const QString& name : names) {
        if (!QFileInfo::exists(databaseFile(dir, name)))
            createDatabase(dir, name, true);
    }
    return dir;
}
