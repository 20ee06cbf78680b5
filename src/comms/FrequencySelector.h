// The frequency selector: a small window with one button per controller that tunes COM1 to it.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

extern XPWidgetID SwitchFrequenze_XPWidgetID; ///< the window, 0 while closed
extern int FinestraFrequenzeAperta;           ///< 1 while the window is open
extern XPWidgetID SwitchFrequenze_buttonTower, SwitchFrequenze_buttonGround, SwitchFrequenze_buttonDeliv,
    SwitchFrequenze_buttonAtis, SwitchFrequenze_buttonAppr, SwitchFrequenze_buttonDepar, SwitchFrequenze_buttonCent;

/// Opens "Frequencies selector" at (left, top), or at the last stored position when there is one.
void CreaFinestraFrequenze(int left, int top, int width, int height);
/// The window's widget callback: the close box closes it, a button tunes COM1 to its controller (the
/// departure airport's before the first centre call, the arrival airport's after it).
int SwitchFrequenze_XPWidgetIDHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Opens the window at (100, 500), 169 x 180, or closes it: the toggle of the command and the menu.
void FrequencySelector_Toggle();
/// Closes the window when it is open, remembering its position; the one way it is ever destroyed.
void FrequencySelector_Destroy();
