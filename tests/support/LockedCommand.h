#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class QProgressDialog;

// What the window did during a command that met a database another session holds locked: when
// the lock-wait dialog ("dlgLockWait") showed and what it said, how long the command took, how
// often a 20 ms timer fired meanwhile (whether the event loop, and with it painting, went on), and
// the error box that followed (answered with OK).
struct LockedCommand {
    // Runs command (e.g. pressing Save); with cancel, the dialog's Cancel is pressed as soon as it
    // shows.
    static LockedCommand run(const std::function<void()>& command, bool cancel);
    // The lock-wait dialog while it is visible, else null.
    static QProgressDialog* dialog();

    // Whether the timer fired at least a third of the times it would in an idle loop.
    bool keptPainting() const { return ticks >= tookMs / 20 / 3; }

    qint64 dialogAfterMs = -1;
    QString dialogLabel;
    qint64 tookMs = 0;
    int ticks = 0;
    int errorBoxes = 0;
    QString errorText;
};
