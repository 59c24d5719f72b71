#pragma once

namespace db {
class Connection;
}

// The checks of Connection::executeBatch that hold on every engine, on a table AdmGrup (grID a key,
// grCod text) where connection may write the ids firstId to firstId + 7: the statements run in
// order; the first failure is raised (with duplicateKeyNumber as its number, unless 0) and the
// caller's rollback undoes the batch; a failure injected at the second statement comes after the
// first one ran; outside a transaction no statement runs after a failing one. They fail the
// running test (QCOMPARE) where they do not hold.
void checkExecuteBatch(db::Connection& connection, int firstId, int duplicateKeyNumber);
