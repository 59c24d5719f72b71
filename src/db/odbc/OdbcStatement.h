#pragma once

#include "db/Engine.h"
#include "db/odbc/OdbcDiagnostics.h"
#include "db/odbc/OdbcValues.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace db {

// One statement on an ODBC connection handle: the text goes to the server whole and as Unicode,
// values go as typed parameters (see OdbcValues::bind), and its results are read through the
// driver's own handle, so no text passes through a code page. The handle is freed when the
// statement is destroyed; a result not read to its end is dropped then.
class OdbcStatement {
public:
    // lost is set when a failure leaves the connection itself gone.
    OdbcStatement(SQLHDBC connection, QString source, bool& lost);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    // Sends text with values bound to its "?" marks in order; its first result becomes the
    // current one. A timeout of 0 waits as long as the server takes. Raises the first result's
    // error (see OdbcDiagnostics::error).
    void execute(const QString& text, const QList<QVariant>& values = {}, int timeoutSeconds = 0);
    // The columns of the current result (none for a result without rows).
    const QList<OdbcValues::Column>& columns() const { return m_columns; }
    // The rows the current result changed; -1 when the driver does not say.
    int rowsAffected() const;
    // Reads the next row of the current result into row; false after the last one. Raises
    // DbError when the server fails while sending rows.
    bool fetch(QList<QVariant>& row);
    // Reads the current result's first row now, while the statement is still being waited for;
    // the next fetch() hands it out.
    void fetchAhead();
    // Moves to the next result; false when there is none. Raises that result's error.
    bool nextResult();

    // Runs text and reads every result to its end: the rows of the first result that has
    // columns, and the rows the first result changed. Every result is read even after one
    // failed (a batch goes on after most errors on SQL Server); then the first failure is raised,
    // with the records of every failure.
    StatementResult run(const QString& text, const QList<QVariant>& values = {}, int timeoutSeconds = 0);

    // Asks the driver to end the call running on this statement in another thread; that call then
    // fails, unless the server had already done the work.
    void cancel();

private:
    void describe();
    // Raises the error of the call that returned result, read from the handle's diagnostics.
    [[noreturn]] void fail(SQLRETURN result, const QString& what);
    QList<OdbcDiagnostic> diagnostics() const;

    SQLHDBC m_connection;
    SQLHSTMT m_handle = SQL_NULL_HSTMT;
    QString m_source;
    bool& m_lost;
    std::vector<OdbcValues::Bound> m_bound;
    QList<OdbcValues::Column> m_columns;
    std::optional<QList<QVariant>> m_ahead;
};

} // namespace db
