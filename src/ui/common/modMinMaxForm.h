#pragma once

class QComboBox;
class QSize;
class QWidget;

// Window procedures shared by the program's windows.
namespace modMinMaxForm {

// Stores form's window state (0 normal, 1 minimised, 2 maximised) in the per-user settings of
// the application "Talvane", section "Settings", under keys made of the form's objectName and
// "WindowState", "Left", "Top", "Width", "Height" (twips, as decimal text). Position and size
// are written only for a normal window; with positionOnly the size is left out. A store that
// cannot be written is ignored: closing a window never depends on it.
void SaveWindowSettings(QWidget* form, bool& positionOnly);

// Reads back what SaveWindowSettings stored for form, before the window is first shown: the
// position and size when all four are whole numbers, the size is at least minimum (pixels) and
// the top strip of the window lies on some screen; otherwise the form keeps the size and place
// it has. Returns true when the stored state is maximised (the caller shows the window
// maximised); a window closed minimised opens normal.
bool LoadWindowSettings(QWidget* form, const QSize& minimum);

// Makes form no larger than the available area of its screen (taskbars and panels left out),
// frame and title bar included, and moves it into that area. A maximised or full-screen form
// is left alone. Run before the window is first shown, after LoadWindowSettings.
void FitToScreen(QWidget* form);

// Makes the drop-down list of combo at least width pixels wide, however narrow the box is.
void SetDropDownWidth(QComboBox* combo, int& width);

} // namespace modMinMaxForm
