#include "support/LockedCommand.h"

#include "support/ModalAnswerer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>

QProgressDialog* LockedCommand::dialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("dlgLockWait") && widget->isVisible())
            return qobject_cast<QProgressDialog*>(widget);
    return nullptr;
}

LockedCommand LockedCommand::run(const std::function<void()>& command, bool cancel) {
    LockedCommand seen;
    QElapsedTimer clock;
    QTimer painter;
    QObject::connect(&painter, &QTimer::timeout, [&] { ++seen.ticks; });
    painter.start(20);
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QProgressDialog* shown = dialog();
        if (!shown || seen.dialogAfterMs >= 0)
            return;
        seen.dialogAfterMs = clock.elapsed();
        seen.dialogLabel = shown->labelText();
        if (cancel)
            shown->cancel();
    });
    watcher.start(10);
    ModalAnswerer error;
    clock.start();
    command();
    seen.tookMs = clock.elapsed();
    seen.errorBoxes = error.count();
    seen.errorText = error.text();
    return seen;
}
