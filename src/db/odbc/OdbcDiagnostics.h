#pragma once

#include "db/DbError.h"

#include <QList>
#include <QString>

namespace db {

// One record of an ODBC handle's diagnostics: SQLSTATE, the server's (or driver's) native
// number and its message, in the order the driver lists them.
struct OdbcDiagnostic {
    QString state;
    int native = 0;
    QString message;
};

namespace OdbcDiagnostics {

// Every record of a handle's diagnostics, read before the next call on the handle clears them.
QList<OdbcDiagnostic> read(short handleType, void* handle);

// The error of a failed call: the number and text of the first record that is not a warning
// (SQL Server sends the cause first and "The statement has been terminated" after it), every
// other record's text appended to the description on a line of its own. fallback describes a
// failure the driver left no record for.
DbError error(const QList<OdbcDiagnostic>& records, const QString& source, const QString& fallback);

// Whether a record says the connection itself is gone (SQLSTATE class 08).
bool connectionLost(const QList<OdbcDiagnostic>& records);

} // namespace OdbcDiagnostics

} // namespace db
