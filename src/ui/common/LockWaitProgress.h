#pragma once

#include "db/LockWait.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// While a statement waits for a database that another session holds locked, the window goes on
// painting under the wait cursor, and after about a second a small dialog says what is happening
// and lets the administrator give up. Installs itself as the lock-wait observer for as long as it
// lives; owner is the window the dialog belongs to.
class LockWaitProgress : public db::LockWait::Observer {
public:
    explicit LockWaitProgress(QWidget* owner);
    ~LockWaitProgress() override;
    LockWaitProgress(const LockWaitProgress&) = delete;
    LockWaitProgress& operator=(const LockWaitProgress&) = delete;

    bool waiting(const QString& database, int waitedMs) override;
    void finished() override;
    void running() override;

private:
    QWidget* m_owner;
    QPointer<QProgressDialog> m_dialog;
    bool m_arrowCursor = false;
};
