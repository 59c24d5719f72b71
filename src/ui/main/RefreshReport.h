#pragma once

#include "db/ErrorModes.h"
#include "ui/groups/OperationTree.h"

#include <QList>
#include <QString>
#include <QStringList>

class frmMain;

namespace mainwindow {

// What one refresh could not read or show: the lists whose query failed, with the server's
// message, and the operations the tree left out. It is told once, at the end of the refresh, in
// one box, so that a list left empty or short is never taken for the data itself.
class RefreshReport {
public:
    // Runs a filler of what the window shows as `what` (plain words, "the persons"); an error is
    // passed over and noted with its message. Returns false when the filler failed.
    template <typename Fill> bool fill(const QString& what, Fill&& filler) {
        try {
            filler();
            return true;
        } catch (const std::exception& e) {
            unread(what, asDbError(e).description());
            return false;
        }
    }
    // Notes that what could not be read, with the server's message.
    void unread(const QString& what, const QString& message);
    // Notes operations that the tree left out.
    void leftOut(const QList<groups::LeftOutOperation>& operations);

    // Shows what was noted, if anything, and which editor Save refuses because of it (see
    // common::showIncomplete: not after the command's error box or a failed connection).
    void show(frmMain& form) const;

private:
    QStringList m_unread;
    QList<groups::LeftOutOperation> m_leftOut;
};

} // namespace mainwindow
