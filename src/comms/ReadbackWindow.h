// The read-back window: opened when a controller message asks the flight for a read-back; it reads back,
// asks the controller to say again, asks for another runway or skips the active waypoint.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

extern XPWidgetID ReadbackDialogWindow; ///< null while the window is closed
extern XPWidgetID ReadbackButton, SayAgainButton, OtherRwyButton, SkipFixButton; ///< null when not shown

/// Opens the read-back window for gReadbackMessage with "Readback", "Say again" and, when
/// gShowChangeRwyBtn / gShowSkipFix are set, "Other runway" / "Skip this waypoint" (both flags are
/// cleared once the buttons exist). The window grows to hold every button.
void CreateReadbackDialog(int left, int top, int width, int height);
/// Its widget callback: the close box and the four buttons (param1).
int ReadbackControlDialogHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Reads back gReadbackMessage (as "Readback" does) and closes the window; nothing when it is closed.
void ReadbackWindow_Readback();
/// Closes the window, remembering its position; the exchange goes on (or waits to be abandoned).
void ReadbackWindow_Close();
