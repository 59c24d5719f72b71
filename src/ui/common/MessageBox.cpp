#include "ui/common/MessageBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

namespace common {

int MsgBox(const QString& text, int style, const QString& title, QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // The original texts separate lines with a lone carriage return.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    const int buttons = style & 0x0F;
    const int icon = style & 0xF0;
    switch (icon) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (buttons == 4) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = ExecMessageBox(box);
    if (answer == QMessageBox::Yes)
        return 6;
    if (answer == QMessageBox::No)
        return 7;
    return 1;
}

int ExecMessageBox(QMessageBox& box) {
    // Names typed by the administrator (a "<b>" or "&" in a group code) show exactly as typed.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    const bool busy = QGuiApplication::overrideCursor() != nullptr;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    return answer;
}

QString AppTitle() {
    return QStringLiteral("Talvane");
}

namespace {

int g_beeps = 0;

} // namespace

void Beep() {
    ++g_beeps;
    QApplication::beep();
}

int BeepCount() {
    return g_beeps;
}

} // namespace common
