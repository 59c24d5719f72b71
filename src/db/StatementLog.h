#pragma once

#include "db/DbError.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace db {

// The one place every statement text of the tool passes before it reaches a server, with its
// text as the tool built it (before any dialect rewrite). Tests record the texts here and
// inject a failure at the N-th statement.
class StatementLog {
public:
    // Called by the data layer for each statement with the values bound to its "?" marks; raises
    // the injected error when its turn comes.
    static void pass(const QString& sql, const QList<QVariant>& values = {});

    // Recording: every text passed from now on is appended to recorded().
    static void startRecording();
    static void stopRecording();
    // Read it while no other thread passes statements.
    static const QStringList& recorded();
    // The values bound to each recorded statement, in the same order (empty for most).
    static const QList<QList<QVariant>>& recordedValues();

    // Failure injection: the n-th statement (1-based) passed from now on raises `error` instead
    // of running. Counting restarts with each call; n <= 0 switches injection off.
    static void failAt(int n, const DbError& error);
    static void clearFailure();
    // Statements passed since the last failAt() or resetCount().
    static int count();
    static void resetCount();
};

} // namespace db
