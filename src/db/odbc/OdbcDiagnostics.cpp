#include "db/odbc/OdbcDiagnostics.h"

#include <sql.h>
#include <sqlext.h>

#include <vector>

namespace db::OdbcDiagnostics {

namespace {

QString fromWide(const SQLWCHAR* text, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

bool isWarning(const OdbcDiagnostic& record) {
    return record.state.startsWith(QLatin1String("01"));
}

} // namespace

QList<OdbcDiagnostic> read(short handleType, void* handle) {
    QList<OdbcDiagnostic> records;
    if (!handle)
        return records;
    std::vector<SQLWCHAR> message(1024);
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN r =
            SQLGetDiagRecW(handleType, handle, i, state, &native, message.data(), SQLSMALLINT(message.size()), &length);
        if (r == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.resize(std::size_t(length) + 1);
            r = SQLGetDiagRecW(handleType, handle, i, state, &native, message.data(), SQLSMALLINT(message.size()),
                               &length);
        }
        if (!SQL_SUCCEEDED(r))
            break;
        records.append({fromWide(state, 5), int(native), fromWide(message.data(), length).trimmed()});
    }
    return records;
}

DbError error(const QList<OdbcDiagnostic>& records, const QString& source, const QString& fallback) {
    if (records.isEmpty())
        return DbError(DbError::GeneralError, fallback, source);
    qsizetype cause = 0;
    while (cause < records.size() && isWarning(records.at(cause)))
        ++cause;
    if (cause == records.size())
        cause = 0;
    QString description = records.at(cause).message;
    for (qsizetype i = 0; i < records.size(); ++i)
        if (i != cause)
            description += QLatin1Char('\n') + records.at(i).message;
    return DbError(records.at(cause).native, description, source);
}

bool connectionLost(const QList<OdbcDiagnostic>& records) {
    for (const OdbcDiagnostic& record : records)
        if (record.state.startsWith(QLatin1String("08")))
            return true;
    return false;
}

} // namespace db::OdbcDiagnostics
