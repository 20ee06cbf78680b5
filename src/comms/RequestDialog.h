// The ATC request dialog: the calls that fit the flight's state on the tuned facility, one push button
// each; a press starts the exchange and closes the dialog.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

class pilot;

extern XPWidgetID ControlDialogWindow; ///< null while the dialog is closed
extern XPWidgetID OpenFileFlightPlanDialogBtn, RequestIFRBtn, RequestEngStartBtn, RequestEngStartAndPushBackBtn,
    RequestPBBtn, RequestTaxiBtn, GroundInitialCallBtn, RequestTakeOffBtn, TowerInitialBtn, TowerMissedApproachBtn,
    CenterInitialBtn, ApproachInitialBtn; ///< null when not shown

/// The request buttons, in the order they stand in the dialog.
enum RequestButton : unsigned {
    REQUEST_FILE_FLIGHT_PLAN = 1u << 0,
    REQUEST_CLEARANCE = 1u << 1,
    REQUEST_ENGINE_STARTUP = 1u << 2,
    REQUEST_STARTUP_AND_PUSHBACK = 1u << 3,
    REQUEST_PUSHBACK = 1u << 4,
    REQUEST_TAXI = 1u << 5,
    REQUEST_GROUND_INITIAL_CALL = 1u << 6,
    REQUEST_TAKEOFF = 1u << 7,
    REQUEST_TOWER_INITIAL_CALL = 1u << 8,
    REQUEST_MISSED_APPROACH = 1u << 9,
    REQUEST_CENTER_INITIAL_CALL = 1u << 10,
    REQUEST_APPROACH_INITIAL_CALL = 1u << 11,
};

/// The buttons the dialog offers the record now, on its tuned frequency. radioFree says the frequency is
/// free for a new exchange (the dialog itself left aside).
unsigned RequestDialog_Buttons(const pilot &record, bool radioFree);

/// Opens the request dialog titled title ("Delivery", "Ground", "Tower", "Approach", "Center") with the
/// buttons RequestDialog_Buttons gives; a dialog already open goes first. The window grows to hold every
/// button; it opens where the last request or read-back window was closed, if one was.
void CreateDialogControl(int left, int top, int width, int height, const char *title);
/// Its widget callback: the close box, and a request button (param1) starting its exchange.
int ControlDialogHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the dialog, remembering its position; nothing when it is closed.
void RequestDialog_Close();
/// The buttons and the COM1 frequency the open dialog was built with.
unsigned RequestDialog_OpenButtons();
const char *RequestDialog_OpenTitle();
