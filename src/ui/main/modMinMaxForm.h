#pragma once

class QComboBox;
class QWidget;

// Window procedures shared by the program's windows.
namespace modMinMaxForm {

// Stores form's window state (0 normal, 1 minimised, 2 maximised) in the per-user settings of
// the application "Talvane", section "Settings", under keys made of the form's objectName and
// "WindowState", "Left", "Top", "Width", "Height" (twips, as decimal text). Position and size
// are written only for a normal window; with positionOnly the size is left out. A store that
// cannot be written is ignored: closing a window never depends on it.
void SaveWindowSettings(QWidget* form, bool& positionOnly);

// Makes the drop-down list of combo at least width pixels wide, however narrow the box is.
void SetDropDownWidth(QComboBox* combo, int& width);

} // namespace modMinMaxForm
