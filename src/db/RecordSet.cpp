#include "db/RecordSet.h"

#include "db/Cursor.h"
#include "db/DbError.h"
#include "db/SingleTableSelect.h"

#include <QHash>
#include <QSet>

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane data layer");

constexpr int ObjectOpen = 3705;
constexpr int NotUpdatable = 3251;
constexpr int NoConnection = 3709;
constexpr int RowNotFound = -2147217864;
constexpr int NoBackwardFetch = -2147217884;

[[noreturn]] void fail(int number, const QString& description) {
    throw DbError(number, description, Source);
}

QString bracketed(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1String("]"), QLatin1String("]]"));
    return QLatin1Char('[') + escaped + QLatin1Char(']');
}

} // namespace

struct RecordSet::Impl {
    std::shared_ptr<Connection> connection;
    QString sql;
    bool writable = false;
    ResultRows data;
    // A forward-only, read-only set reads its rows from the server as it moves, and keeps none.
    std::unique_ptr<Cursor> cursor;
    bool cursorAtEnd = false;
    QHash<QString, int> columnIndex; // lower-case name -> first column of that name
    QHash<QString, int> exactIndex;  // name as the server spelled it -> first column of that name
    // Per row, which values are known as the server holds them; empty: all of them. A row this
    // set inserted knows only the values it wrote.
    QList<QList<bool>> known;
    // Rows this set has written: the set's Where clause no longer tells anything about them.
    QSet<int> written;
    int position = 0;

    // The row being written: a new one (adding) or changes to the current one.
    bool adding = false;
    QList<QVariant> edit;
    QList<bool> touched;

    bool editing() const { return adding || touched.contains(true); }
    bool atEnd() const { return cursor ? cursorAtEnd : !adding && position >= data.rows.size(); }

    int column(const QString& name) const {
        // Callers mostly spell a name as the server does: that lookup needs no lower-casing.
        const auto exact = exactIndex.constFind(name);
        const int index = exact != exactIndex.cend() ? *exact : columnIndex.value(name.toLower(), -1);
        if (index < 0)
            fail(DbError::ItemNotFound, QStringLiteral("Item cannot be found in the collection corresponding to the "
                                                       "requested name or ordinal: %1.")
                                            .arg(name));
        return index;
    }

    void requireRow() const {
        if (atEnd())
            fail(DbError::NoCurrentRecord, QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                                          "deleted. Requested operation requires a current record."));
    }

    void requireWritable() const {
        if (!writable)
            fail(NotUpdatable, QStringLiteral("Current Recordset does not support updating. This may be a "
                                              "limitation of the provider, or of the selected locktype."));
    }

    void startEdit() {
        if (editing())
            return;
        edit = data.rows.at(position);
        touched = QList<bool>(data.columns.size(), false);
    }

    void endEdit() {
        adding = false;
        edit.clear();
        touched.clear();
    }
};

RecordSet::Impl& RecordSet::openImpl() const {
    if (!m_impl)
        fail(DbError::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    return *m_impl;
}

void RecordSet::open(const QString& sql, std::shared_ptr<Connection> conn, int cursorType, int lockType) {
    if (m_impl)
        fail(ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
    if (!conn)
        fail(NoConnection, QStringLiteral("The connection cannot be used to perform this operation. It is either "
                                          "closed or invalid in this context."));
    auto impl = std::make_shared<Impl>();
    if (cursorType == ForwardOnly && lockType == ReadOnly) {
        impl->cursor = conn->openCursor(sql);
        for (int i = 0; i < impl->cursor->columnCount(); ++i)
            impl->data.columns.append(impl->cursor->columnName(i));
        impl->cursorAtEnd = !impl->cursor->next();
    } else {
        impl->data = conn->query(sql);
    }
    impl->connection = std::move(conn);
    impl->sql = sql;
    impl->writable = lockType != ReadOnly;
    for (int i = impl->data.columns.size() - 1; i >= 0; --i)
        impl->columnIndex.insert(impl->data.columns.at(i).toLower(), i);
    for (int i = 0; i < impl->data.columns.size(); ++i) {
        const QString& name = impl->data.columns.at(i);
        if (impl->columnIndex.value(name.toLower()) == i)
            impl->exactIndex.insert(name, i);
    }
    m_impl = std::move(impl);
}

void RecordSet::close() {
    m_impl.reset();
}

bool RecordSet::isOpen() const {
    return m_impl != nullptr;
}

bool RecordSet::eof() const {
    return openImpl().atEnd();
}

void RecordSet::moveNext() {
    Impl& impl = openImpl();
    if (impl.editing())
        update();
    impl.requireRow();
    ++impl.position;
    if (impl.cursor)
        impl.cursorAtEnd = !impl.cursor->next();
}

void RecordSet::moveFirst() {
    Impl& impl = openImpl();
    if (impl.editing())
        update();
    if (impl.cursor && impl.position > 0)
        fail(NoBackwardFetch, QStringLiteral("Rowset does not support fetching backward."));
    impl.position = 0;
}

int RecordSet::recordCount() const {
    const Impl& impl = openImpl();
    // A forward-only set does not know its size before it has read every row.
    if (impl.cursor)
        return -1;
    return impl.data.rows.size() + (impl.adding ? 1 : 0);
}

int RecordSet::fieldCount() const {
    return openImpl().data.columns.size();
}

QString RecordSet::fieldName(int index) const {
    const Impl& impl = openImpl();
    if (index < 0 || index >= impl.data.columns.size())
        impl.column(QString::number(index));
    return impl.data.columns.at(index);
}

int RecordSet::fieldIndex(const QString& name) const {
    return openImpl().column(name);
}

QVariant RecordSet::field(const QString& name) const {
    const Impl& impl = openImpl();
    return field(impl.column(name));
}

QVariant RecordSet::field(int index) const {
    const Impl& impl = openImpl();
    if (index < 0 || index >= impl.data.columns.size())
        impl.column(QString::number(index));
    impl.requireRow();
    if (impl.cursor)
        return impl.cursor->value(index);
    return impl.editing() ? impl.edit.at(index) : impl.data.rows.at(impl.position).at(index);
}

void RecordSet::setField(const QString& name, const QVariant& value) {
    Impl& impl = openImpl();
    impl.requireWritable();
    const int index = impl.column(name);
    impl.requireRow();
    impl.startEdit();
    impl.edit[index] = value;
    impl.touched[index] = true;
}

void RecordSet::addNew() {
    Impl& impl = openImpl();
    impl.requireWritable();
    if (impl.editing())
        update();
    impl.adding = true;
    impl.position = impl.data.rows.size();
    impl.edit = QList<QVariant>(impl.data.columns.size());
    impl.touched = QList<bool>(impl.data.columns.size(), false);
}

void RecordSet::update() {
    Impl& impl = openImpl();
    impl.requireWritable();
    impl.requireRow();
    if (!impl.editing())
        return;
    if (impl.adding)
        insertRow(impl);
    else
        updateRow(impl);
}

void RecordSet::insertRow(Impl& impl) {
    const auto source = SingleTableSelect::parse(impl.sql);
    if (!source)
        fail(NotUpdatable, QStringLiteral("This record set cannot add rows: its statement is not a single-table "
                                          "\"Select * From <table>\": %1")
                               .arg(impl.sql.trimmed()));
    QStringList columns;
    QStringList marks;
    QList<QVariant> values;
    for (int i = 0; i < impl.data.columns.size(); ++i) {
        if (!impl.touched.at(i))
            continue;
        columns.append(bracketed(impl.data.columns.at(i)));
        marks.append(QStringLiteral("?"));
        values.append(impl.edit.at(i));
    }
    const QString sql =
        columns.isEmpty() ? QStringLiteral("Insert Into %1 Default Values").arg(source->table)
                          : QStringLiteral("Insert Into %1 (%2) Values (%3)")
                                .arg(source->table, columns.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    impl.connection->executeCounted(sql, values);
    if (impl.known.isEmpty())
        impl.known = QList<QList<bool>>(impl.data.rows.size());
    impl.data.rows.append(impl.edit);
    impl.known.append(impl.touched);
    impl.position = impl.data.rows.size() - 1;
    impl.written.insert(impl.position);
    impl.endEdit();
}

void RecordSet::updateRow(Impl& impl) {
    const auto source = SingleTableSelect::parse(impl.sql);
    if (!source)
        fail(NotUpdatable, QStringLiteral("This record set cannot update rows: its statement is not a single-table "
                                          "\"Select * From <table>\": %1")
                               .arg(impl.sql.trimmed()));
    const QList<QVariant>& original = impl.data.rows.at(impl.position);
    const QList<bool> known = impl.known.value(impl.position);
    QStringList assignments;
    QStringList conditions;
    QList<QVariant> values;
    for (int i = 0; i < impl.data.columns.size(); ++i) {
        if (impl.touched.at(i)) {
            assignments.append(bracketed(impl.data.columns.at(i)) + QLatin1String(" = ?"));
            values.append(impl.edit.at(i));
        }
    }
    if (!source->filter.isEmpty() && !impl.written.contains(impl.position))
        conditions.append(QLatin1Char('(') + source->filter + QLatin1Char(')'));
    QList<QVariant> matches;
    for (int i = 0; i < impl.data.columns.size(); ++i) {
        if (!impl.data.comparable.value(i) || (!known.isEmpty() && !known.at(i)))
            continue;
        const QString name = bracketed(impl.data.columns.at(i));
        if (original.at(i).isNull()) {
            conditions.append(name + QLatin1String(" Is Null"));
        } else {
            conditions.append(name + QLatin1String(" = ?"));
            matches.append(original.at(i));
        }
    }
    // Without a condition the statement would rewrite every row of the table.
    if (conditions.isEmpty())
        fail(NotUpdatable, QStringLiteral("This record set cannot update its row: nothing identifies the row in %1.")
                               .arg(source->table));
    const QString sql =
        QStringLiteral("Update %1 Set %2 Where %3")
            .arg(source->table, assignments.join(QLatin1String(", ")), conditions.join(QLatin1String(" And ")));
    const int changed = impl.connection->executeCounted(sql, values + matches);
    if (changed == 0)
        fail(RowNotFound, QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                         "since it was last read."));
    if (changed > 1)
        fail(DbError::GeneralError, QStringLiteral("Key column information is insufficient or incorrect. Too many "
                                                   "rows were affected by update."));
    impl.data.rows[impl.position] = impl.edit;
    if (!known.isEmpty())
        for (int i = 0; i < known.size(); ++i)
            impl.known[impl.position][i] = known.at(i) || impl.touched.at(i);
    impl.written.insert(impl.position);
    impl.endEdit();
}

} // namespace db
