#pragma once

#include "db/Connection.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace db {

// A client-side record set: every row is read when it opens, then it is read row by row. A set
// opened ForwardOnly and ReadOnly instead reads each row from the server as it moves to it and
// keeps none: it cannot move back (moveFirst after moveNext raises), and its recordCount is -1.
// Fields are addressed by column name (without regard to case) or by position; a Null value
// is a null QVariant, distinct from an empty text. A record set opened on a single-table
// "Select * From T ..." can add a new row and update the current one; values are written
// through bound parameters. It keeps its connection alive while open. Copies of a record set
// share its rows, position and state.
class RecordSet {
public:
    enum CursorType { ForwardOnly = 0, Dynamic = 2 };
    enum LockType { ReadOnly = 1, Optimistic = 3 };

    RecordSet() = default;

    // Runs sql on conn and reads every row. Raises DbError on failure (the set stays closed), and
    // when the set is already open. A ReadOnly set refuses setField, addNew and update.
    void open(const QString& sql, std::shared_ptr<Connection> conn, int cursorType = Dynamic,
              int lockType = Optimistic);
    // Releases the rows and the connection; closing a closed set does nothing. Changes not yet
    // written by update() are dropped.
    void close();
    bool isOpen() const;

    // Reading or moving a closed set raises ObjectClosed.
    bool eof() const; // no current row: past the last row, or the set is empty
    void moveNext();
    void moveFirst();
    int recordCount() const;

    int fieldCount() const;
    QString fieldName(int index) const;
    // The position of the field name (without regard to case), for reading many rows by position;
    // raises ItemNotFound for an unknown name.
    int fieldIndex(const QString& name) const;
    // The current row's value; raises NoCurrentRecord at eof, ItemNotFound for an unknown name.
    QVariant field(const QString& name) const;
    QVariant field(int index) const;
    // Sets a value of the current (or new) row, written by update().
    void setField(const QString& name, const QVariant& value);

    // Starts a new row (all Null) that becomes the current row; update() inserts it.
    void addNew();
    // Writes the new row or the changed values of the current row. Raises NoCurrentRecord
    // when there is no current row. An existing row is found again by the set's Where clause and
    // the row's values as read; when it is gone or changed meanwhile, the update fails.
    void update();

private:
    struct Impl;
    Impl& openImpl() const;
    void insertRow(Impl& impl);
    void updateRow(Impl& impl);

    std::shared_ptr<Impl> m_impl;
};

} // namespace db
