#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace common {

// A modal message box with the numeric style of the original system: 16 critical, 36 question
// with Yes and No, 48 exclamation, 64 information. A carriage return in text shows as a line
// break; the text is shown as plain text, never as markup. Returns 6 for Yes, 7 for No and 1 for OK.
int MsgBox(const QString& text, int style, const QString& title, QWidget* parent = nullptr);

// Shows box modally with its text as plain text, never as markup, and returns its answer (exec's
// value). A box raised in the middle of a long command takes the ordinary arrow cursor, not the
// command's wait cursor, while it waits.
int ExecMessageBox(QMessageBox& box);

// The application title used by every message box but the error box.
QString AppTitle();

// The system beep.
void Beep();
// How many times Beep() sounded since the program started: a refusal that only beeps leaves
// nothing else to see.
int BeepCount();

} // namespace common
