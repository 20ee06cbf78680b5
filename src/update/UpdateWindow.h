// The update window (release notes with "Update" and "Ok") and the completion window after an install.
#pragma once

#include <cstdint>

#include "XPWidgets.h"
#include "ui/WarningWindow.h"

extern bool updateIsOpen;
extern XPWidgetID ControlUpdateWin, CreateUpdateSubWindows, ControlUpdateNowButton, ControlUpdateOkButton;
extern XPWidgetID UpdateWinText[WARNING_LINES];
extern bool updateFase2IsOpen;
extern XPWidgetID ControlUpdateWinFase2, CreateUpdateSubWindowsFase2, ControlUpdateOkButtonFase2;
extern XPWidgetID UpdateWinTextFase2[3];

/// Opens the update window with its top-left corner at (left, top); empty lines take no row.
void CreateUpdateControl(int left, int top, int width, int height, const char *title,
                         const char *const lines[WARNING_LINES]);
int CreateUpdateControlHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Opens the completion window: line1, then the restart notice.
void CreateUpdateControlFase2(int left, int top, int width, int height, const char *title, const char *line1);
int CreateUpdateControlHandlerFase2(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes both windows if open (reset and stop).
void Update_DestroyWindows();
