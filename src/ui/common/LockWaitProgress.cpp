#include "ui/common/LockWaitProgress.h"

#include "ui/common/MessageBox.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>

namespace {

constexpr int ShowAfterMs = 1000;

} // namespace

LockWaitProgress::LockWaitProgress(QWidget* owner) : m_owner(owner) {
    db::LockWait::setObserver(this);
}

LockWaitProgress::~LockWaitProgress() {
    db::LockWait::setObserver(nullptr);
    finished();
}

bool LockWaitProgress::waiting(const QString& database, int waitedMs) {
    if (!m_dialog && waitedMs >= ShowAfterMs) {
        m_dialog = new QProgressDialog(
            QStringLiteral("Waiting for the database: another session is writing…\n(%1)").arg(database),
            QStringLiteral("Cancel"), 0, db::LockWait::limitMs() / 1000, m_owner);
        m_dialog->setObjectName(QStringLiteral("dlgLockWait"));
        m_dialog->setWindowTitle(common::AppTitle());
        // The window paints behind it but takes no clicks or keys while the statement waits.
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        m_dialog->show();
        // The dialog takes the ordinary arrow cursor over the command's wait cursor.
        m_arrowCursor = QGuiApplication::overrideCursor() != nullptr;
        if (m_arrowCursor)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    if (m_dialog)
        m_dialog->setValue(waitedMs / 1000);
    // Before the dialog shows nothing may be clicked: only painting and timers run.
    QCoreApplication::processEvents(m_dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !(m_dialog && m_dialog->wasCanceled());
}

void LockWaitProgress::finished() {
    if (m_arrowCursor) {
        QGuiApplication::restoreOverrideCursor();
        m_arrowCursor = false;
    }
    delete m_dialog;
}

void LockWaitProgress::running() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
