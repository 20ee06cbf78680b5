// The flight plan window: the form of the flight (callsign, airports, levels, descent rate, route and
// procedure options), prefilled from the last filing, filed with "Insert Flightplan".
#pragma once

#include <cstdint>

#include "XPWidgets.h"

extern XPWidgetID ControlFileFlightPlanWindow;
extern XPWidgetID ControlIcaoFlightName, ControlIcaoFlightNumber, ControlDepartureEdit, ControlArrivalEdit;
extern XPWidgetID ControlTLDep, ControlTLArr, ControlFlightlevelEdit, ControlDescentSpeed, ControlFlightPlanEdit;
extern XPWidgetID ControlOptionsSIDDiscovery, ControlOptionsChooseSid, ControlOptionsSTARDiscovery,
    ControlOptionsChooseStar, ControlOptionsVFRDiscovery;
extern XPWidgetID ControlApplyButton;
extern int fileFlightPlanWinIsOpen; ///< 1 while the window exists

/// Opens the window with its top-left corner at (left, top), prefilled from FlightPlan.txt and
/// FlightSettings.txt (else from the flight); opening it changes nothing of the flight. When it is
/// already open it comes to the front instead.
void CreateFileFlightPlanControl(int left, int top, int width, int height);
/// The window's callback: the close box closes it; "Insert Flightplan" files the form and closes the
/// window when the filing succeeded.
int ControlFileFlightPlanHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the window if it is open.
void FlightPlanWindow_Destroy();
