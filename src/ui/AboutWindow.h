// The About window opened from the plug-in menu's "?" item.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

enum { ABOUT_LINES = 7 };

extern XPWidgetID ControlAboutWin;
extern XPWidgetID AboutWinText[ABOUT_LINES];
extern int aboutIsOpen; ///< 1 while the About window is open (some warnings are held back meanwhile)

/// Opens the About window with its top-left corner at (left, top); sets aboutIsOpen.
void CreateAboutWinControl(int left, int top, int width, int height);
/// Closes the window on its close box.
int ControlAboutWinHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the About window if it is open.
void About_Destroy();
