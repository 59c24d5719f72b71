#include "db/odbc/OdbcValues.h"

#include <QDateTime>
#include <cstring>

namespace db::OdbcValues {

namespace {

// SQL Server's own types beyond the ODBC standard.
constexpr SQLSMALLINT SsTime2 = -154;
constexpr SQLSMALLINT SsTimestampOffset = -155;

// Above these lengths SQL Server wants its long types (nvarchar(max), varbinary(max)).
constexpr int LongestText = 4000;
constexpr int LongestBytes = 8000;

template <typename T> QByteArray bytesOf(const T& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

SQLRETURN bindAs(SQLHSTMT statement, SQLUSMALLINT position, SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN columnSize,
                 SQLSMALLINT digits, Bound& buffer) {
    return SQLBindParameter(statement, position, SQL_PARAM_INPUT, cType, sqlType, columnSize, digits,
                            buffer.data.data(), SQLLEN(buffer.data.size()), &buffer.indicator);
}

// SQLGetData hands a long value over in pieces of Size units: each full piece goes to append and
// the next is read, until the last one (SQL_SUCCESS with its length), Null or no more data. A text's
// piece keeps its last unit for the closing zero the driver writes (terminated).
template <typename Unit, qsizetype Size, typename Append>
void readPieces(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, bool terminated, bool& isNull, bool& ok,
                const Append& append) {
    Unit piece[Size];
    const qsizetype room = terminated ? Size - 1 : Size;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN r = SQLGetData(statement, column, cType, piece, sizeof piece, &indicator);
        if (r == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(r)) {
            ok = false;
            break;
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            break;
        }
        const bool whole = r == SQL_SUCCESS && indicator != SQL_NO_TOTAL;
        append(piece, whole ? qMin<qsizetype>(indicator / qsizetype(sizeof(Unit)), room) : room);
        if (whole)
            break;
    }
}

QString readText(SQLHSTMT statement, SQLUSMALLINT column, bool& isNull, bool& ok) {
    // Empty rather than null from the start: an empty text read must stay distinct from Null, or it
    // is written back, and looked for, as Null.
    QString text = QLatin1String("");
    readPieces<SQLWCHAR, 2048>(statement, column, SQL_C_WCHAR, true, isNull, ok,
                               [&text](const SQLWCHAR* piece, qsizetype length) {
                                   text.append(QStringView(reinterpret_cast<const char16_t*>(piece), length));
                               });
    return text;
}

QByteArray readBytes(SQLHSTMT statement, SQLUSMALLINT column, bool& isNull, bool& ok) {
    // Empty rather than null from the start, as for text: empty bytes are not Null.
    QByteArray bytes("");
    readPieces<char, 8192>(statement, column, SQL_C_BINARY, false, isNull, ok,
                           [&bytes](const char* piece, qsizetype length) { bytes.append(piece, length); });
    return bytes;
}

// A fixed-size value read into T; false when the value is Null or the driver failed.
template <typename T> bool readFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, T& value, bool& ok) {
    SQLLEN indicator = 0;
    const SQLRETURN r = SQLGetData(statement, column, cType, &value, sizeof value, &indicator);
    if (!SQL_SUCCEEDED(r)) {
        ok = false;
        return false;
    }
    return indicator != SQL_NULL_DATA;
}

// Null as the Qt SQL drivers take it: no value, or a null text or byte array in the variant.
bool isNullValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return true;
    if (value.metaType().id() == QMetaType::QString)
        return value.toString().isNull();
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray().isNull();
    return false;
}

} // namespace

SQLRETURN bind(SQLHSTMT statement, SQLUSMALLINT position, const QVariant& value, Bound& buffer) {
    const int type = value.metaType().id();
    const bool isNull = isNullValue(value);
    switch (type) {
    case QMetaType::Bool:
        buffer.data = bytesOf(static_cast<unsigned char>(value.toBool()));
        buffer.indicator = isNull ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_BIT, SQL_BIT, 1, 0, buffer);
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        buffer.data = bytesOf(static_cast<SQLINTEGER>(value.toInt()));
        buffer.indicator = isNull ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_SLONG, SQL_INTEGER, 10, 0, buffer);
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        buffer.data = bytesOf(static_cast<SQLBIGINT>(value.toLongLong()));
        buffer.indicator = isNull ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_SBIGINT, SQL_BIGINT, 19, 0, buffer);
    case QMetaType::Double:
    case QMetaType::Float:
        buffer.data = bytesOf(value.toDouble());
        buffer.indicator = isNull ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, buffer);
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        SQL_TIMESTAMP_STRUCT stamp{};
        stamp.year = SQLSMALLINT(moment.date().year());
        stamp.month = SQLUSMALLINT(moment.date().month());
        stamp.day = SQLUSMALLINT(moment.date().day());
        stamp.hour = SQLUSMALLINT(moment.time().hour());
        stamp.minute = SQLUSMALLINT(moment.time().minute());
        stamp.second = SQLUSMALLINT(moment.time().second());
        stamp.fraction = SQLUINTEGER(moment.time().msec()) * 1000000u;
        buffer.data = bytesOf(stamp);
        buffer.indicator = isNull || !moment.isValid() ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3, buffer);
    }
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        SQL_DATE_STRUCT day{SQLSMALLINT(date.year()), SQLUSMALLINT(date.month()), SQLUSMALLINT(date.day())};
        buffer.data = bytesOf(day);
        buffer.indicator = isNull || !date.isValid() ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, buffer);
    }
    case QMetaType::QTime: {
        const QTime time = value.toTime();
        SQL_TIME_STRUCT clock{SQLUSMALLINT(time.hour()), SQLUSMALLINT(time.minute()), SQLUSMALLINT(time.second())};
        buffer.data = bytesOf(clock);
        buffer.indicator = isNull || !time.isValid() ? SQL_NULL_DATA : 0;
        return bindAs(statement, position, SQL_C_TYPE_TIME, SQL_TYPE_TIME, 8, 0, buffer);
    }
    case QMetaType::QByteArray: {
        buffer.data = value.toByteArray();
        buffer.indicator = isNull ? SQL_NULL_DATA : SQLLEN(buffer.data.size());
        const qsizetype size = buffer.data.size();
        return bindAs(statement, position, SQL_C_BINARY, size > LongestBytes ? SQL_LONGVARBINARY : SQL_VARBINARY,
                      SQLULEN(qMax<qsizetype>(1, size)), 0, buffer);
    }
    default: {
        const QString text = isNull ? QString() : value.toString();
        buffer.data =
            QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
        buffer.indicator = isNull ? SQL_NULL_DATA : SQLLEN(buffer.data.size());
        return bindAs(statement, position, SQL_C_WCHAR, text.size() > LongestText ? SQL_WLONGVARCHAR : SQL_WVARCHAR,
                      SQLULEN(qMax<qsizetype>(1, text.size())), 0, buffer);
    }
    }
}

QVariant read(SQLHSTMT statement, SQLUSMALLINT column, const Column& description, bool& ok) {
    switch (description.type) {
    case SQL_BIT: {
        unsigned char bit = 0;
        return readFixed(statement, column, SQL_C_BIT, bit, ok) ? QVariant(bit != 0) : QVariant();
    }
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER: {
        SQLINTEGER number = 0;
        return readFixed(statement, column, SQL_C_SLONG, number, ok) ? QVariant(int(number)) : QVariant();
    }
    case SQL_BIGINT: {
        SQLBIGINT number = 0;
        return readFixed(statement, column, SQL_C_SBIGINT, number, ok) ? QVariant(qlonglong(number)) : QVariant();
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double number = 0;
        return readFixed(statement, column, SQL_C_DOUBLE, number, ok) ? QVariant(number) : QVariant();
    }
    case SQL_TYPE_DATE:
    case SQL_DATE: {
        SQL_DATE_STRUCT day{};
        return readFixed(statement, column, SQL_C_TYPE_DATE, day, ok) ? QVariant(QDate(day.year, day.month, day.day))
                                                                      : QVariant();
    }
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case SsTime2: {
        SQL_TIME_STRUCT clock{};
        return readFixed(statement, column, SQL_C_TYPE_TIME, clock, ok)
                   ? QVariant(QTime(clock.hour, clock.minute, clock.second))
                   : QVariant();
    }
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT stamp{};
        if (!readFixed(statement, column, SQL_C_TYPE_TIMESTAMP, stamp, ok))
            return {};
        return QDateTime(QDate(stamp.year, stamp.month, stamp.day),
                         QTime(stamp.hour, stamp.minute, stamp.second, int(stamp.fraction / 1000000u)));
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY: {
        bool isNull = false;
        const QByteArray bytes = readBytes(statement, column, isNull, ok);
        return isNull ? QVariant() : QVariant(bytes);
    }
    default:
        break;
    }
    bool isNull = false;
    const QString text = readText(statement, column, isNull, ok);
    if (isNull)
        return {};
    if ((description.type == SQL_DECIMAL || description.type == SQL_NUMERIC) && description.digits == 0) {
        bool whole = false;
        const qlonglong number = text.toLongLong(&whole);
        if (whole)
            return number;
    }
    return text;
}

bool comparable(SQLSMALLINT type) {
    switch (type) {
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_TYPE_DATE:
    case SQL_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SsTime2:
    case SsTimestampOffset:
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_LONGVARBINARY:
        return false;
    default:
        return true;
    }
}

} // namespace db::OdbcValues
