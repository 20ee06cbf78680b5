// The "ATC Dialog" window: the requests the pilot can make at any time, whatever the tuned frequency: a
// new cruise level, an emergency landing, a jump to another waypoint, cancelling the service and forcing
// the top of descent.
#pragma once

#include <cstddef>
#include <cstdint>

#include "XPWidgets.h"

class pilot;

/// Highest cruise level the dialog accepts, hundreds of feet.
enum { ATC_DIALOG_MAX_FL = 510 };
/// Shortest airport identifier an emergency is declared to.
enum { ATC_DIALOG_MIN_ICAO = 3 };

extern XPWidgetID AtcDialogWin; ///< null while the window is closed
extern int AtcDialogIsOpen;

/// Builds the window over pilotObj with its top-left corner at (left, top); its rows follow the flight's
/// state. Sets AtcDialogIsOpen.
void Windows_CreaAtcDialog(int left, int top, int width, int height);
/// The widget callback: the close box and the buttons; 1 for the messages it handles.
int AtcDialogWinHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the window if it is open and clears AtcDialogIsOpen.
void AtcDialog_Destroy();
/// The command's and the menu item's action: opens the window at (400, 600), 520 x 180, or closes it.
void AtcDialog_Toggle();

/// A cruise level typed by the pilot: a whole number from 1 to ATC_DIALOG_MAX_FL (blanks around it
/// allowed). False for anything else.
bool AtcDialog_CruiseLevel(const char *text, int *level);
/// The pilot's new cruise level: a refused text shows "flight level incorrect" and changes nothing; an
/// accepted one becomes plannedFL, the levels are redrawn and the FMS programmed, and the request is
/// called to the centre. True when accepted.
bool AtcDialog_RequestNewFL(pilot *p, const char *text);

/// The airport identifier in a typed text: its letters (upper-cased) and digits, the rest dropped, from at
/// most the first 16 characters. out holds at least 17 bytes.
void AtcDialog_EmergencyCode(const char *text, char *out, size_t size);
/// Declares an emergency to the airport typed (fieldText), or to the filed arrival while the flight is with
/// approach (fieldText is then not read). A refused destination (too short, not found, a heliport, not in
/// the scenery, without runways) shows its warning and changes nothing. Otherwise the destination, its
/// airport records and landing runway are set, the route becomes the approach to that runway, the levels
/// are redrawn and the FMS programmed, squawk 7700 is assigned and the call is queued. True when declared.
bool AtcDialog_DeclareEmergency(pilot *p, const char *fieldText);
