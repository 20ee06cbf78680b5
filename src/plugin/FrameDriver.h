// The per-frame driver: the draw callback of the plug-in's window, and the window's input callbacks.
#pragma once

#include <string>

#include "XPLMDisplay.h"

extern int gAlreadyChecked; ///< 0 until the first-frame set-up of a flight has run
extern int gLeft, gTop, gRight, gBottom; ///< the window's geometry this frame
/// Tuned COM1 facility: "DELIVERY", "GROUND", "TOWER", "APPROACH", "ATIS", "CENTER", "DEPARTURE" or "NONE".
extern std::string gActualFrequencyName;

void MyDrawWindowCallback(XPLMWindowID window, void *refcon);
void MyHandleKeyCallback(XPLMWindowID window, char key, XPLMKeyFlags flags, char virtualKey, void *refcon,
                         int losingFocus);
int MyHandleMouseClickCallback(XPLMWindowID window, int x, int y, XPLMMouseStatus status, void *refcon);

/// Creates the driver window (once, at start).
void System_CreateDriverWindow();
void System_DestroyDriverWindow();
