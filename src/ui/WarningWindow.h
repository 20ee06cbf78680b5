// The warning window: a titled notice of up to fifteen lines with an "Ok" button, one at a time.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

enum { WARNING_LINES = 15 };

extern XPWidgetID ControlWarningWin;
extern XPWidgetID ControlWarningOkButton;
extern XPWidgetID ControlWarnWinSubWindow;
extern XPWidgetID WarningWinText[WARNING_LINES]; ///< the captions of the non-empty lines, in order
extern int warningIsOpen;

/// Opens the warning window with its top-left corner at (left, top). Empty (or null) lines take no
/// row. While a warning window is open another one is not opened: the text goes to the log instead.
void CreateWarningWinControl(int left, int top, int width, int height, const char *title, const char *line1 = "",
                             const char *line2 = "", const char *line3 = "", const char *line4 = "",
                             const char *line5 = "", const char *line6 = "", const char *line7 = "",
                             const char *line8 = "", const char *line9 = "", const char *line10 = "",
                             const char *line11 = "", const char *line12 = "", const char *line13 = "",
                             const char *line14 = "", const char *line15 = "");
/// Closes the window on its close box or its "Ok" button.
int ControlWarningWinHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the warning window if it is open.
void Warning_Destroy();

/// The widgets of a notice window (the warning window's layout, shared with other notices).
struct NoticeWidgets {
    XPWidgetID window = nullptr;
    XPWidgetID subWindow = nullptr;
    XPWidgetID button = nullptr;
    XPWidgetID text[WARNING_LINES] = {};
};
/// Builds a notice window in the warning window's layout: the non-empty lines one row each, a push
/// button labelled buttonLabel at the bottom right, handler attached to the main window.
void Utils_CreateNoticeWindow(int left, int top, int width, int height, const char *title,
                              const char *const lines[WARNING_LINES], const char *buttonLabel, XPWidgetFunc_t handler,
                              NoticeWidgets *out);
