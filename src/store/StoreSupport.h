#pragma once

#include "db/Connection.h"

#include <QSet>
#include <QString>
#include <QVariant>
#include <memory>

// Pieces shared by the statements of the user and group stores.
namespace store::support {

// An id written bare into a statement: its decimal text.
inline QString number(int value) {
    return QString::number(value);
}

// Text placed inside '…' or N'…' of a statement: a quote is doubled, so the text cannot end the
// literal.
QString quoted(const QString& text);
// A text as a Unicode literal of a statement, N'…' with its quotes doubled: the one way text
// enters statement text, so that no text can end the literal and every character reaches the
// server as it was typed.
QString unicodeLiteral(const QString& text);
// A name placed inside […]: a closing bracket is doubled.
QString bracketed(const QString& name);
// Today's date as the DataAct literal of the link tables: "yyyyMMdd", the one form the server
// reads as the same day whatever the language and date format of the login.
QString todayLiteral();
// A text for a record-set field: a null text is written as empty text, never as Null.
QVariant textValue(const QString& text);

// The operator id that every row the tool writes carries.
constexpr int OperatorId = 55;

// The first column of the one row of sql (a "Select max(...)" under an update lock) on
// connection, plus 1; a Null maximum counts as 0.
int nextKey(const std::shared_ptr<db::Connection>& connection, const QString& sql);

// Whether the server holds a database named stk.
bool stkExists(db::Connection& connection);

// Ids as the list of an "In (...)" clause, at most chunk ids per list, so that no statement grows
// without bound.
QStringList idLists(const QList<int>& ids, int chunk = 500);

// Whether table holds the row whose column equals id, read under an update lock held until the
// commit, so that a record a save links to cannot be deleted before it.
bool lockedRowExists(db::Connection& connection, const QString& table, const QString& column, int id);

// The ids among ids that the statements head + "<ids>)" find, in their first column, a few
// statements for many ids (see idLists); head ends in an open "In (". Used to read, under lock,
// which of the records a save links to are still there.
QSet<int> idsFound(db::Connection& connection, const QString& head, const QList<int>& ids);

// An id taken from a collection item, to be written bare into a statement: it must be a whole
// number (surrounding blanks aside), or the item raises TypeMismatch, so no item text can
// change what a statement does.
QString bareId(const QString& item);

// The opID and Id of an operations item "opID#$#Id[#$#…]"; further fields are ignored. An item
// with fewer than two fields raises SubscriptOutOfRange.
struct OperationFields {
    QString opID;
    QString id;
};
OperationFields operationFields(const QString& item);

} // namespace store::support
