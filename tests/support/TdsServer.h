#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// The SQL Server that the tests of the ODBC path talk to, through unixODBC, FreeTDS and Qt's
// ODBC driver:
//  - with TALVANE_TEST_MSSQL set, the real server its ODBC connection string names (its
//    database must hold the suite's schema; the tests make and remove rows and logins of their
//    own there);
//  - else, with TALVANE_TEST_TDS_SERVER naming the TDS server double's command (for example
//    "python3 ../shared/tdsemu/tdsemu.py"), the double started over a directory of the suite's
//    SQLite database files (see TempServer), on a free port of the loopback; it ends with this
//    object, or with the test program if that crashes;
//  - else none: skipReason() says why, and the tests skip.
//
//     TempServer files;
//     auto server = TdsServer::start(files.directory());
//     if (!server)
//         QSKIP(qPrintable(TdsServer::skipReason()));
//     db::Connection::open(server->connectionString());
class TdsServer {
public:
    // Options of the double; a real server has its own.
    struct Options {
        QStringList arguments;   // e.g. {"--lcid", "0x0418"}, {"--delay-ms", "20"}
        QStringList environment; // e.g. {"TDSEMU_WIDTHS=admgrup.grcod=3"}
    };

    // The server to test against, or null when neither variable is set. directory holds the
    // double's database files (unused by a real server). Raises std::runtime_error when the
    // double does not start.
    static std::unique_ptr<TdsServer> start(const QString& directory, const Options& options = {});
    // Why start() gave no server; empty when it gives one.
    static QString skipReason();
    // Why a test that needs the double itself (its files, its log) cannot run: no server at all,
    // or a real one, for which need says what the test does. Empty when start() gives the double.
    static QString doubleSkipReason(const QString& need);

    ~TdsServer();
    TdsServer(const TdsServer&) = delete;
    TdsServer& operator=(const TdsServer&) = delete;

    // Whether this is the double (its files and its log can be read) rather than a real server.
    bool isDouble() const { return m_process != nullptr; }

    // The tool's connection string (the ODBC form) to database on this server.
    QString connectionString(const QString& database = QString()) const;
    // The login profile's values for this server.
    QString serverName() const { return m_serverName; }
    QString databaseName() const { return m_database; }
    QString userName() const { return m_user; }
    QString password() const { return m_password; }

    // What column of table keeps of text: text itself in an NVARCHAR column and on the double
    // (which keeps every text as it came); on a real server, in a VARCHAR or CHAR column, the
    // server's own conversion to the column's code page, asked of the server.
    QString asStored(const QString& table, const QString& column, const QString& text) const;

    // The double only: ends the process and starts it again on the same port, as a restarted
    // server; the logins it held are gone.
    void restart();

    // The double only: what its log holds since the last mark() (or the start), one event a line
    // ("connect", "login", "batch", "rpc", "tm", ...).
    QList<QJsonObject> events() const;
    void mark();
    // Of events(): the logins, and the requests sent after them (batches, procedure calls and
    // transaction requests): one network round trip each.
    int logins() const;
    int requests() const;

private:
    TdsServer() = default;
    void launch(int port);

    std::unique_ptr<QProcess> m_process;
    QString m_command;
    QString m_directory;
    Options m_options;
    QString m_logFile;
    qint64 m_logMark = 0;
    int m_port = 0;
    QString m_serverName;
    QString m_database;
    QString m_user;
    QString m_password;
    QString m_realConnectionString;
};
