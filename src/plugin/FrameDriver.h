// The per-frame driver: the draw callback of the plug-in's window, and the window's input callbacks.
// Each frame it copies the simulator into the flight record (FrameReads), runs the first-frame set-up of a
// flight (FirstFrame), names the tuned facility (FacilityNaming) and delivers the radio queue.
#pragma once

#include "XPLMDisplay.h"

extern int gAlreadyChecked; ///< 0 until the first-frame set-up of a flight has run
extern int gLeft, gTop, gRight, gBottom; ///< the window's geometry this frame
/// Frames counted in the current second, frames of the last whole second, start of the current second.
extern int gFPSCount, gLastFPS;
extern float gLastFPSSecond;

void MyDrawWindowCallback(XPLMWindowID window, void *refcon);
void MyHandleKeyCallback(XPLMWindowID window, char key, XPLMKeyFlags flags, char virtualKey, void *refcon,
                         int losingFocus);
int MyHandleMouseClickCallback(XPLMWindowID window, int x, int y, XPLMMouseStatus status, void *refcon);

/// Creates the driver window (once, at start).
void System_CreateDriverWindow();
void System_DestroyDriverWindow();
