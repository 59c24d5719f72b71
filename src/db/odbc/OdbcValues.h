#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

namespace db::OdbcValues {

// A result column as the driver describes it.
struct Column {
    QString name;
    SQLSMALLINT type = SQL_UNKNOWN_TYPE;
    SQLSMALLINT digits = 0;
};

// The buffer of one bound value; it must stay in place until the statement has run.
struct Bound {
    QByteArray data;
    SQLLEN indicator = 0;
};

// Binds value to the "?" mark at position (1-based) with its own type: text (and any value
// that is neither number, date, time nor bytes) as Unicode NVARCHAR, so the driver never
// converts it to a code page; a null or invalid value as Null of its type, NVARCHAR when it has
// none. Returns the driver's result.
SQLRETURN bind(SQLHSTMT statement, SQLUSMALLINT position, const QVariant& value, Bound& buffer);

// The current row's value in column (1-based), read in one or more pieces: text as Unicode,
// whole numbers, floating point, dates and times with their own types, decimals without
// fraction as whole numbers and others as their exact text, bytes as bytes; Null as a null
// QVariant. Sets ok to false when the driver fails.
QVariant read(SQLHSTMT statement, SQLUSMALLINT column, const Column& description, bool& ok);

// Whether values of type compare exactly with "=" on the server, so that a record set can find
// its row again by them: not so for floating point, dates and times and the long types.
bool comparable(SQLSMALLINT type);

} // namespace db::OdbcValues
