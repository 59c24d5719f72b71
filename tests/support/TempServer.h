#pragma once

#include "db/Connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

// A temporary embedded server with the suite's schema (suitedb, ordavia and, unless left out,
// stk), optionally with the demo rows. While it lives it is the process's connection source:
// every OpenConnection() opens its suitedb database (while several live, the most recently made
// one). It is removed with its directory when it goes out of scope, after the shared connection
// is released.
//
// The helpers read and write the database files directly through SQLite: they bypass the tool's
// data layer, so they never show up in db::StatementLog and never trip an injected failure.
//
//     TempServer server;                          // empty schema, with stk
//     server.exec("suitedb", "INSERT INTO AdmGrup (grID, grCod) VALUES (?, ?)", {1, "ADM"});
//     const QStringList before = server.snapshot();
//     ...                                         // run the code under test
//     QCOMPARE(server.snapshot(), before);        // every table exactly as it was
class TempServer {
public:
    explicit TempServer(bool withStk = true, bool withDemoRows = false);
    ~TempServer();
    TempServer(const TempServer&) = delete;
    TempServer& operator=(const TempServer&) = delete;

    // The server's directory, whether it has stk, a connection string to its suitedb database, and a new connection.
    QString directory() const { return m_dir.path(); }
    bool hasStk() const { return m_withStk; }
    QString connectionString() const;
    std::shared_ptr<db::Connection> connect() const;

    // Runs sql (several statements allowed when no values are bound) in database: "suitedb",
    // "ordavia", "stk" or "master". "?" placeholders take values in order; a null QVariant is
    // Null. A failure throws std::runtime_error with SQLite's message, which fails the test.
    void exec(const QString& database, const QString& sql, const QVariantList& values = {}) const;
    // Every row of one query; Null values are null QVariants.
    QList<QVariantList> rows(const QString& database, const QString& sql, const QVariantList& values = {}) const;
    // The first column of the first row (a null QVariant when there is no row).
    QVariant value(const QString& database, const QString& sql, const QVariantList& values = {}) const;

    // The rows of one query in its order, each as its values joined by "/" (Null as empty text).
    QStringList lines(const QString& database, const QString& sql) const;
    // Every row of a table as one line of its values joined by " | " (Null written NULL), sorted.
    QStringList tableRows(const QString& database, const QString& table) const;
    // Every row of every table of the suite's databases (not master), each line prefixed with
    // "<database>.<table>: ", sorted: two equal snapshots mean every table is as it was.
    QStringList snapshot() const;

    // db::StatementLog::recorded(), with each write of a record set (a statement with bound "?"
    // values, its text made by the data layer) shown as "<write TABLE>".
    static QStringList recordedStatements();

    // The file of a database of the server ("master" is the engine's catalogue).
    QString databaseFile(const QString& database) const;

private:
    static inline TempServer* s_active = nullptr;
    QTemporaryDir m_dir;
    bool m_withStk;
};
