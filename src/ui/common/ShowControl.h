#pragma once

class QWidget;

namespace common {

// Brings control into sight and gives it the focus: every tab control it sits in (the window's
// pages, the user editor's tabs) first switches to the tab that holds it, so a message that
// points at a field never leaves the administrator looking for it.
void showControl(QWidget* control);

} // namespace common
