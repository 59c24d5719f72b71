#include "ui/common/ShowErrorBox.h"

#include "db/ConnectionError.h"
#include "ui/common/MessageBox.h"

#include <QApplication>

namespace common {

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
    const auto* failure = dynamic_cast<const db::ConnectionError*>(&error);
    if (!failure) {
        ShowErrorBox(error.number(), error.description(), error.source(), origin);
        return;
    }
    // What failed is in the four lines; the administrator also needs to know what to check.
    const QString server = failure->server().isEmpty() ? QString() : QStringLiteral(" ") + failure->server();
    ShowErrorBox(error.number(), error.description(), error.source(),
                 origin + QStringLiteral("\r\rTalvane could not connect to the server") + server +
                     QStringLiteral(". Check the server name and the database name, the user name and the password "
                                    "in the login profile, and the network connection to the server; then press "
                                    "Refresh."));
}

} // namespace common
