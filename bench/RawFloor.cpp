#include "RawFloor.h"

#include "db/embedded/DialectRewriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace RawFloor {

namespace {

using Handle = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// Kept so that the reading cannot be optimised away.
qint64 g_sink = 0;

[[noreturn]] void fail(sqlite3* handle, const QString& what) {
    throw std::runtime_error(
        QStringLiteral("floor: %1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(handle))).toStdString());
}

void execute(sqlite3* handle, const QString& sql) {
    if (sqlite3_exec(handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(handle, sql);
}

Handle open(const QString& directory, const QString& database) {
    const QDir dir(directory);
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(dir.filePath(database + QStringLiteral(".db"))).constData(), &raw,
                                   SQLITE_OPEN_READWRITE, nullptr);
    Handle handle(raw, sqlite3_close);
    if (rc != SQLITE_OK)
        fail(raw, database);
    sqlite3_busy_timeout(raw, 5000);
    for (const QString& file : dir.entryList({QStringLiteral("*.db")}, QDir::Files)) {
        const QString name = file.chopped(3);
        if (name.compare(database, Qt::CaseInsensitive) != 0)
            execute(raw, QStringLiteral("ATTACH DATABASE '%1' AS %2").arg(dir.filePath(file), name));
    }
    return handle;
}

void bind(sqlite3* handle, sqlite3_stmt* statement, const QList<QVariant>& values, const QString& sql) {
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values.at(i);
        int rc = SQLITE_OK;
        if (v.isNull())
            rc = sqlite3_bind_null(statement, i + 1);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Bool)
            rc = sqlite3_bind_int64(statement, i + 1, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            rc = sqlite3_bind_double(statement, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::QDateTime)
            rc = sqlite3_bind_text(statement, i + 1, v.toDateTime().toString(Qt::ISODateWithMs).toUtf8().constData(),
                                   -1, SQLITE_TRANSIENT);
        else
            rc = sqlite3_bind_text(statement, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        if (rc != SQLITE_OK)
            fail(handle, sql);
    }
}

void runOne(sqlite3* handle, const QByteArray& sql, const QList<QVariant>& values) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
        fail(handle, QString::fromUtf8(sql));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    bind(handle, raw, values, QString::fromUtf8(sql));
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int i = 0, n = sqlite3_column_count(raw); i < n; ++i) {
            const unsigned char* text = sqlite3_column_text(raw, i);
            g_sink += text ? sqlite3_column_bytes(raw, i) + text[0] : 0;
        }
    }
    if (rc != SQLITE_DONE)
        fail(handle, QString::fromUtf8(sql));
}

QList<QByteArray> inSqliteDialect(const QStringList& statements) {
    QList<QByteArray> texts;
    for (const QString& sql : statements)
        texts << db::DialectRewriter::rewrite(sql, QStringLiteral("master")).toUtf8();
    return texts;
}

} // namespace

double read(const QString& directory, const QString& database, const QStringList& statements,
            const QList<QList<QVariant>>& values) {
    const QList<QByteArray> texts = inSqliteDialect(statements);
    const Handle handle = open(directory, database);

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < texts.size(); ++i)
        runOne(handle.get(), texts.at(i), values.value(i));
    return double(timer.nsecsElapsed()) / 1e6;
}

double run(const QString& directory, const QString& database, const QStringList& statements,
           const QList<QList<QVariant>>& values) {
    const QList<QByteArray> texts = inSqliteDialect(statements);
    const Handle handle = open(directory, database);

    QElapsedTimer timer;
    timer.start();
    execute(handle.get(), QStringLiteral("BEGIN IMMEDIATE"));
    for (int i = 0; i < texts.size(); ++i)
        runOne(handle.get(), texts.at(i), values.value(i));
    execute(handle.get(), QStringLiteral("COMMIT"));
    return double(timer.nsecsElapsed()) / 1e6;
}

FileFloor toFile(const QString& directory, const QString& database, const QStringList& statements,
                 const QString& path) {
    const QList<QByteArray> texts = inSqliteDialect(statements);
    const Handle handle = open(directory, database);
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        throw std::runtime_error("floor: cannot write " + path.toStdString());
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    FileFloor floor;
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& sql : texts) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(handle.get(), sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK)
            fail(handle.get(), QString::fromUtf8(sql));
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
        int rc;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            for (int i = 0, n = sqlite3_column_count(raw); i < n; ++i) {
                const unsigned char* text = sqlite3_column_text(raw, i);
                if (i > 0)
                    std::fputc(',', file);
                if (text)
                    std::fwrite(text, 1, std::size_t(sqlite3_column_bytes(raw, i)), file);
            }
            std::fputc('\n', file);
            ++floor.rows;
        }
        if (rc != SQLITE_DONE)
            fail(handle.get(), QString::fromUtf8(sql));
    }
    const bool written = std::fclose(file) == 0;
    floor.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    if (!written)
        throw std::runtime_error("floor: cannot write " + path.toStdString());
    floor.bytes = QFileInfo(path).size();
    return floor;
}

void exec(const QString& directory, const QString& database, const QString& sql) {
    const Handle handle = open(directory, database);
    execute(handle.get(), sql);
}

} // namespace RawFloor
