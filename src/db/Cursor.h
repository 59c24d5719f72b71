#pragma once

#include <QString>
#include <QVariant>

namespace db {

// A forward-only, read-only pass over the rows of one statement, read from the server one row
// at a time, so that a long result is never held in memory as a whole. A Null value is a null
// QVariant. The engine that opened a cursor must outlive it.
class Cursor {
public:
    virtual ~Cursor() = default;

    // Moves to the next row (the first one on the first call); false when there is none left.
    // Raises DbError when the server fails while reading.
    virtual bool next() = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // The current row's value in column.
    virtual QVariant value(int column) const = 0;
};

} // namespace db
