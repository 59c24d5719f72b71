#include "StatementFloor.h"

#include "db/RecordSet.h"
#include "db/SharedConnection.h"

#include <QElapsedTimer>

namespace StatementFloor {

namespace {

// Kept so that the reading cannot be optimised away.
qint64 g_sink = 0;

void readAll(const QString& sql) {
    db::ReplaceSharedConnection();
    db::RecordSet set;
    set.open(sql, db::SharedConnection());
    const int fields = set.fieldCount();
    for (; !set.eof(); set.moveNext()) {
        for (int i = 0; i < fields; ++i)
            g_sink += set.field(i).toString().size();
    }
    set.close();
}

} // namespace

double run(const QStringList& statements) {
    QElapsedTimer timer;
    timer.start();
    for (const QString& sql : statements)
        readAll(sql);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace StatementFloor
