#pragma once

#include <QCursor>
#include <QGuiApplication>

// Shows the wait cursor over the whole application for as long as it lives, however the scope
// is left (an error included). Guards nest: each one takes back only its own cursor.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
