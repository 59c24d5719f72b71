#include "db/StatementLog.h"

#include <QMutex>

namespace db {

namespace {

struct LogState {
    QMutex mutex;
    bool recording = false;
    QStringList recorded;
    QList<QList<QVariant>> recordedValues;
    int count = 0;
    int failAt = 0;
    std::optional<DbError> failure;
};

LogState& state() {
    static LogState s;
    return s;
}

} // namespace

void StatementLog::pass(const QString& sql, const QList<QVariant>& values) {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    ++s.count;
    if (s.recording) {
        s.recorded.append(sql);
        s.recordedValues.append(values);
    }
    if (s.failure && s.count == s.failAt)
        throw *s.failure;
}

void StatementLog::startRecording() {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.recording = true;
    s.recorded.clear();
    s.recordedValues.clear();
}

void StatementLog::stopRecording() {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.recording = false;
}

const QStringList& StatementLog::recorded() {
    return state().recorded;
}

const QList<QList<QVariant>>& StatementLog::recordedValues() {
    return state().recordedValues;
}

void StatementLog::failAt(int n, const DbError& error) {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.count = 0;
    s.failAt = n;
    if (n > 0)
        s.failure = error;
    else
        s.failure.reset();
}

void StatementLog::clearFailure() {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.failAt = 0;
    s.failure.reset();
}

int StatementLog::count() {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    return s.count;
}

void StatementLog::resetCount() {
    LogState& s = state();
    QMutexLocker lock(&s.mutex);
    s.count = 0;
}

} // namespace db
