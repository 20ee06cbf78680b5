// The choose-runway window: the pilot forces a runway end of the departure or arrival airport, or goes
// back to the automatic choice.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

class pilot;

/// Most runway ends the window lists (one button each).
enum { CHOOSE_RWY_BUTTONS = 20 };

extern int gIsDeparting;               ///< 1 while the window chooses the departure runway, 0 the arrival
extern XPWidgetID ControlChooseRwyWin; ///< null while the window is closed
extern XPWidgetID AutomaticRwyBtn;
extern XPWidgetID ChooseRwyBtn[CHOOSE_RWY_BUTTONS]; ///< slot k: the button of runway end k; null without one

/// Opens the window listing the runway ends of the departure (isDeparting 1) or arrival airport.
void CreateChooseRunwayControl(pilot *record, int isDeparting);
/// Widget callback of the window: its close box, "Automatic" and the runway buttons (param1 the button).
int ControlChooseRunwayHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
