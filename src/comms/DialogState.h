// Open flags of the request and read-back windows, the read-back command's request, and the position
// both windows share.
#pragma once

#include "XPWidgets.h"

extern int dialogIsOpen;          ///< the ATC request dialog exists
extern int readbackWinIsOpen;     ///< the read-back window exists
extern int readBackCustomCommand; ///< set by the read-back command; the frame driver answers it once

/// Remembers where window stands (its top-left corner, in the settings' dialogPositionLeft and
/// dialogPositionTop) for the next request or read-back window.
void Dialog_RememberPosition(XPWidgetID window);
/// The top-left corner a request or read-back window opens at: the remembered one when both coordinates
/// are set, else left and top as given.
void Dialog_OpeningPosition(int *left, int *top);
/// The push button of row `row` (0 first) of a request or read-back window whose top-left corner is
/// (left, top): 10 pixels from the left, 22 high, rows 20 apart from 30 below the top.
XPWidgetID Dialog_CreateRowButton(XPWidgetID window, int left, int top, int row, int width, const char *label);
/// Height of such a window with rows buttons: at least minHeight, and room below the last button.
int Dialog_HeightForRows(int rows, int minHeight);
