#include "ui/common/ShowErrorBox.h"

#include "ui/common/MessageBox.h"

#include <QApplication>

void ShowErrorBox(int number, const QString& description, const QString& source, const QString& origin) {
    if (number == 0)
        return;
    const QString text = QStringLiteral("Number : ") + QString::number(number) + QLatin1Char('\r') +
                         QStringLiteral("Description : ") + description + QLatin1Char('\r') +
                         QStringLiteral("Source : ") + source + QLatin1Char('\r') + QStringLiteral("Origin : ") +
                         origin;
    MsgBox(text, 16, QStringLiteral("Quillmark"), QApplication::activeWindow());
}

void ShowErrorBox(const db::DbError& error, const QString& origin) {
    ShowErrorBox(error.number(), error.description(), error.source(), origin);
}
